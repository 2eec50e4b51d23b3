#include "core/message_boxes.h"

#include "core/application_title.h"
#include "core/errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace zarven {

namespace {

// A message box that Escape and the close box only close. QMessageBox makes
// a lone button its escape button whatever setEscapeButton was given, and
// "clicks" it on Escape or on a close; a confirmation box would then read
// Yes although the user never chose it. Here both close the box with no
// button clicked.
class ClosableMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        // QDialog's own handling: a visible dialog is rejected.
        QDialog::closeEvent(event);
    }
};

} // namespace

const char *boxKindName(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Plain: return "message";
    case BoxKind::Confirmation: return "confirmation";
    case BoxKind::Question: return "question";
    case BoxKind::Information: return "information";
    case BoxKind::Warning: return "warning";
    case BoxKind::Error: return "error";
    case BoxKind::Review: return "review";
    }
    return "message";
}

void MessageBoxes::error(const QString &message)
{
    show(BoxKind::Error, errorReportText(translated(message)));
}

MessageBoxes::SaveChoice QtMessageBoxes::askToSave(const QString &text)
{
    QMessageBox box(parent_);
    box.setText(translated(text));
    box.setWindowTitle(applicationTitle());
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    auto *clicked = box.clickedButton();
    const auto button = clicked ? box.standardButton(clicked) : QMessageBox::Cancel;
    if (button == QMessageBox::Save)
        return SaveChoice::Save;
    return button == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

bool QtMessageBoxes::review(const QString &heading, const QStringList &lines, const QString &action)
{
    // A long list goes into the box's details, so the box keeps to the
    // screen; the first lines stay in view.
    constexpr int kLinesInView = 20;
    ClosableMessageBox box(parent_);
    box.setWindowTitle(applicationTitle());
    box.setIcon(QMessageBox::NoIcon);
    QStringList inView = lines.mid(0, kLinesInView);
    if (lines.size() > kLinesInView) {
        inView << QStringLiteral("…");
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    }
    box.setText(heading + QStringLiteral("\n\n") + inView.join(QLatin1Char('\n')));
    QPushButton *go = box.addButton(action, QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(go);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == go;
}

int QtMessageBoxes::choose(const QString &text, const QStringList &buttons)
{
    ClosableMessageBox box(parent_);
    box.setWindowTitle(applicationTitle());
    box.setIcon(QMessageBox::Question);
    box.setText(text);
    QList<QPushButton *> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const bool last = i == buttons.size() - 1;
        added << box.addButton(buttons[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (added.isEmpty())
        return -1;
    box.setDefaultButton(added.first());
    box.setEscapeButton(added.last());
    box.exec();
    const int index = added.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return index < 0 ? int(added.size()) - 1 : index;
}

bool QtMessageBoxes::show(BoxKind kind, const QString &text)
{
    if (kind == BoxKind::Confirmation && confirmationSink_) {
        confirmationSink_(text);
        return true;
    }
    ClosableMessageBox box(parent_);
    box.setText(text);
    box.setWindowTitle(applicationTitle());
    box.setIcon(QMessageBox::NoIcon);
    switch (kind) {
    case BoxKind::Plain:
    case BoxKind::Warning:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::Confirmation:
        // Yes is the only button; Escape or the close box answer "not Yes".
        box.setStandardButtons(QMessageBox::Yes);
        break;
    case BoxKind::Question:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case BoxKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::Error:
    case BoxKind::Review:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
    auto *clicked = box.clickedButton();
    if (kind == BoxKind::Confirmation || kind == BoxKind::Question)
        return clicked != nullptr && box.standardButton(clicked) == QMessageBox::Yes;
    return true;
}

void ScriptedMessageBoxes::open(const Shown &box)
{
    shown_.append(box);
    if (onShow_)
        onShow_(box);
    ++openBoxes_;
    if (whileOpen_)
        whileOpen_(box);
    --openBoxes_;
}

bool ScriptedMessageBoxes::show(BoxKind kind, const QString &text)
{
    open({kind, text});
    if (kind != BoxKind::Confirmation && kind != BoxKind::Question)
        return true;
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    if (kind == BoxKind::Question && questionAnswer_)
        return *questionAnswer_;
    return defaultAnswer_;
}

MessageBoxes::SaveChoice ScriptedMessageBoxes::askToSave(const QString &text)
{
    const Shown box{BoxKind::Question, translated(text)};
    shown_.append(box);
    if (onShow_)
        onShow_(box);
    return saveChoices_.isEmpty() ? SaveChoice::Discard : saveChoices_.takeFirst();
}

bool ScriptedMessageBoxes::review(const QString &heading, const QStringList &lines, const QString &)
{
    open({BoxKind::Review, (QStringList{heading} + lines).join(QLatin1Char('\n'))});
    return answers_.isEmpty() ? reviewAnswer_ : answers_.takeFirst();
}

int ScriptedMessageBoxes::choose(const QString &text, const QStringList &buttons)
{
    open({BoxKind::Question, (QStringList{text} + buttons).join(QLatin1Char('\n'))});
    if (buttons.isEmpty())
        return -1;
    const int choice = choices_.isEmpty() ? 0 : choices_.takeFirst();
    return qBound(0, choice, int(buttons.size()) - 1);
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList out;
    for (const auto &s : shown_)
        out << s.text;
    return out;
}

QStringList ScriptedMessageBoxes::texts(BoxKind kind) const
{
    QStringList out;
    for (const auto &s : shown_)
        if (s.kind == kind)
            out << s.text;
    return out;
}

} // namespace zarven
