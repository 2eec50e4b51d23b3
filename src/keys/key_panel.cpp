#include "keys/key_panel.h"

#include "core/cp1251.h"
#include "editor/palette.h"
#include "translate/translation.h"

#include <QFrame>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <iterator>

namespace zarven {

namespace {

const QColor clSkyBlue{166, 202, 240};
constexpr int kRowHeight = 24;
constexpr int kDescriptionPositions = 15;
constexpr int kCodePositions = 16;

// Whether a cell may take the character: a letter or a digit that code page
// 1251 holds (the controller and the key files keep nothing else).
bool cellCharacter(QChar c)
{
    return c.isLetterOrNumber() && cp1251PrintableOnly(QString(c)).size() == 1;
}

// The cell editor: every way text comes in (typing, paste, a drop, an input
// method's commit, the X11 selection's middle-click paste) takes only cell
// characters, up to the number of positions of the column. A longer text
// from a key file is shown and kept whole; it only cannot grow.
class KeyCellEditor : public QLineEdit {
public:
    KeyCellEditor(int positions, bool upperCase, QWidget *parent)
        : QLineEdit(parent), positions_(positions), upperCase_(upperCase)
    {
        // Its paste would pass unfiltered text; the keyboard's paste below
        // takes the same path as typing.
        setContextMenuPolicy(Qt::NoContextMenu);
    }

protected:
    bool event(QEvent *event) override
    {
        // Escape ends the editing (the typed text is dropped), not the key
        // mode, whose "Отменить" Escape is otherwise.
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Paste)) {
            insertFiltered(QGuiApplication::clipboard()->text());
            event->accept();
            return;
        }
        const QString typed = event->text();
        if (!typed.isEmpty() && typed[0].isPrint()) {
            insertFiltered(typed);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent *event) override
    {
        // The composition in progress is shown as the input method draws
        // it; only its commit enters the text, filtered like typing.
        QInputMethodEvent composing(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&composing);
        insertFiltered(event->commitString());
        event->accept();
    }

    void dropEvent(QDropEvent *event) override
    {
        if (!event->mimeData()->hasText()) {
            event->ignore();
            return;
        }
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        insertFiltered(event->mimeData()->text());
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
            event->accept();
            return;
        }
        QLineEdit::mouseReleaseEvent(event);
    }

private:
    // Inserts the cell characters of text at the cursor, as many as the
    // free positions hold.
    void insertFiltered(const QString &text)
    {
        QString kept;
        std::copy_if(text.begin(), text.end(), std::back_inserter(kept), cellCharacter);
        // Codes are shown in upper case, as the controller's are.
        if (upperCase_)
            kept = kept.toUpper();
        const qsizetype room = qMax<qsizetype>(positions_, this->text().size()) - this->text().size()
            + selectedText().size();
        kept.truncate(qMax<qsizetype>(room, 0));
        if (!kept.isEmpty())
            insert(kept);
    }

    int positions_;
    bool upperCase_;
};

class KeyCellDelegate : public QStyledItemDelegate {
public:
    using Typed = std::function<void(int row, int column, const QString &text, QLineEdit *editor)>;
    KeyCellDelegate(Typed typed, QObject *parent) : QStyledItemDelegate(parent), typed_(std::move(typed)) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const bool code = index.column() == 2;
        auto *editor = new KeyCellEditor(code ? kCodePositions : kDescriptionPositions, code, parent);
        editor->setFrame(false);
        const int row = index.row();
        const int column = index.column();
        QObject::connect(editor, &QLineEdit::textChanged, editor,
                         [this, row, column, editor](const QString &text) { typed_(row, column, text, editor); });
        return editor;
    }

private:
    Typed typed_;
};

const QColor kFaultColour{255, 200, 200};

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

void paintBackground(QWidget *w, const QColor &colour)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

} // namespace

KeyPanel::KeyPanel(QFrame *frame, QFrame *prompt) : keyFrame(frame), keyPrompt(prompt)
{
    buildKeyPanel();
    buildPrompt();
}

void KeyPanel::buildKeyPanel()
{
    keyFrame->setLineWidth(3);

    keyPanelTitle = new QLabel(QStringLiteral("Программирование ключей "), keyFrame);
    keyPanelTitle->setObjectName(QStringLiteral("Label31"));
    keyPanelTitle->setGeometry(3, 3, 539, 22);
    keyPanelTitle->setAlignment(Qt::AlignCenter);
    QFont bold = keyPanelTitle->font();
    bold.setBold(true);
    keyPanelTitle->setFont(bold);
    paintBackground(keyPanelTitle, clSkyBlue);

    keyGrid = new QTableWidget(kKeyRowCount + 1, 3, keyFrame);
    keyGrid->setObjectName(QStringLiteral("SGrid_key"));
    keyGrid->horizontalHeader()->setVisible(false);
    keyGrid->verticalHeader()->setVisible(false);
    keyGrid->setColumnWidth(0, 40);
    keyGrid->setColumnWidth(1, 168);
    keyGrid->setColumnWidth(2, 169);
    for (int r = 0; r <= kKeyRowCount; ++r)
        keyGrid->setRowHeight(r, kRowHeight);
    keyGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keyGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keyGrid->setGeometry(8, 32, 40 + 168 + 169 + 4, (kKeyRowCount + 1) * kRowHeight + 4);
    keyGrid->setItemDelegate(new KeyCellDelegate(
        [this](int row, int column, const QString &text, QLineEdit *editor) { typed(row, column, text, editor); },
        keyGrid));
    for (int r = 0; r <= kKeyRowCount; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem();
            if (r == 0 || c == 0) {
                // The fixed row and column: not editable, in the fixed colour.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette::clMoneyGreen);
            }
            keyGrid->setItem(r, c, item);
        }
    }

    for (int n = 1; n <= kKeyRowCount; ++n)
        readKeyButtons[n - 1] = makeButton(keyFrame, QStringLiteral("BB_ReadKey%1").arg(n),
            QStringLiteral("Читать Ключ"), {400, 32 + 2 + n * kRowHeight, 120, kRowHeight - 2});

    // Under the grid: what the cell being edited may hold, how many
    // characters are left, and what is wrong with its code.
    keyHelp = new QLabel(keyFrame);
    keyHelp->setObjectName(QStringLiteral("Label_key_help"));
    keyHelp->setGeometry(8, 301, 529, 18);
    // Made here in the window's language; the form's walk must not look it up.
    keepOutOfTranslation(keyHelp);

    writeKeysButton = makeButton(keyFrame, QStringLiteral("BitBtn6"), QStringLiteral("Сохранить "), {8, 322, 130, 26});
    closeKeysButton = makeButton(keyFrame, QStringLiteral("BitBtn7"), QStringLiteral("Отменить"), {8, 352, 130, 26});

    keyFileGroup = new QGroupBox(QStringLiteral("Работа с файлом"), keyFrame);
    keyFileGroup->setObjectName(QStringLiteral("GroupBox1"));
    keyFileGroup->setGeometry(150, 318, 386, 62);
    loadKeyFileButton = makeButton(
        keyFileGroup, QStringLiteral("BitBtn9"), QStringLiteral("Читать ключи из файла"), {8, 24, 180, 30});
    saveKeyFileButton = makeButton(
        keyFileGroup, QStringLiteral("BitBtn8"), QStringLiteral("Сохранить ключи в файл"), {196, 24, 182, 30});

    QObject::connect(keyGrid, &QTableWidget::itemChanged, keyGrid, [this](QTableWidgetItem *item) {
        if (item->column() == 2)
            markCodes();
        const int row = keyGrid->currentRow();
        const int column = keyGrid->currentColumn();
        showHelp(row, column, cellText(row, column));
    });
    QObject::connect(keyGrid, &QTableWidget::currentCellChanged, keyGrid,
                     [this](int row, int column) { showHelp(row, column, cellText(row, column)); });
    // Escape is "Отменить" while the mode is open and no key is awaited.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), keyFrame);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, closeKeysButton, [this] {
        if (keyFrame->isVisible() && keyFrame->isEnabled() && !keyPrompt->isVisible() && closeKeysButton->isEnabled())
            closeKeysButton->click();
    });
    showHelp(-1, -1, QString());
}

void KeyPanel::setCaptionTranslation(std::function<QString(const QString &)> caption)
{
    caption_ = std::move(caption);
    markCodes();
    showHelp(keyGrid->currentRow(), keyGrid->currentColumn(), cellText(keyGrid->currentRow(), keyGrid->currentColumn()));
}

QString KeyPanel::inLanguage(const QString &russian) const
{
    return caption_ ? caption_(russian) : russian;
}

void KeyPanel::showHelp(int row, int column, const QString &text)
{
    QString help;
    if (row >= 1 && column == 2) {
        help = inLanguage(QStringLiteral("Код ключа: 16 шестнадцатеричных цифр 0-9, A-F; осталось %1."))
                   .arg(qMax<qsizetype>(0, kCodePositions - text.size()));
        KeyRows shown = rows();
        shown[row - 1].code = text;
        const QString fault = keyCodeFault(shown, row);
        if (!fault.isEmpty())
            help += QLatin1Char(' ') + inLanguage(fault.left(1).toUpper() + fault.mid(1) + QLatin1Char('.'));
    } else {
        help = inLanguage(QStringLiteral("Описание: до 15 букв и цифр, без пробелов и знаков; осталось %1."))
                   .arg(qMax<qsizetype>(0, kDescriptionPositions - (row >= 1 && column == 1 ? text.size() : 0)));
    }
    keyHelp->setText(help);
}

void KeyPanel::typed(int row, int column, const QString &text, QLineEdit *editor)
{
    showHelp(row, column, text);
    if (column != 2)
        return;
    // A code that is not whole yet is marked while it is typed.
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, text.isEmpty() || wellFormedKeyCode(text) ? keyGrid->palette().color(QPalette::Base)
                                                                         : kFaultColour);
    editor->setPalette(p);
}

void KeyPanel::markCodes()
{
    const KeyRows shown = rows();
    const QSignalBlocker block(keyGrid);
    for (int row = 1; row <= kKeyRowCount; ++row) {
        QTableWidgetItem *item = keyGrid->item(row, 2);
        const QString fault = keyCodeFault(shown, row);
        item->setBackground(fault.isEmpty() ? QBrush() : QBrush(kFaultColour));
        item->setToolTip(fault.isEmpty() ? QString() : inLanguage(fault));
    }
}

QString KeyPanel::codeMark(int row) const
{
    return keyGrid->item(row, 2)->toolTip();
}

void KeyPanel::buildPrompt()
{
    paintBackground(keyPrompt, palette::clYellow);
    // The window made the prompt's first line; it moves to the top.
    auto *prompt = keyPrompt->findChild<QLabel *>(QStringLiteral("Label_key_prompt"));
    if (!prompt)
        prompt = new QLabel(QStringLiteral("Поднесите ключ к считывателю"), keyPrompt);
    prompt->setGeometry(8, 6, 249, 20);
    prompt->setAlignment(Qt::AlignCenter);
    QFont font = prompt->font();
    font.setBold(true);
    font.setUnderline(true);
    prompt->setFont(font);

    auto *wait = new QLabel(QStringLiteral("ожидание - 10 секунд"), keyPrompt);
    wait->setObjectName(QStringLiteral("Label_key_wait"));
    wait->setGeometry(8, 28, 249, 18);
    wait->setAlignment(Qt::AlignCenter);

    keyWaitCancelButton = makeButton(keyPrompt, QStringLiteral("BitBtn5"), QStringLiteral("Отмена"), {92, 52, 81, 28});
}

void KeyPanel::writeHeaders(const std::function<QString(const QString &)> &caption)
{
    const auto in = [&caption](const QString &russian) { return caption ? caption(russian) : russian; };
    setCellText(0, 0, in(QStringLiteral("№ кл")));
    setCellText(0, 1, in(QStringLiteral("Описание")));
    setCellText(0, 2, in(QStringLiteral("КодКлюча")));
    for (int n = 1; n <= kKeyRowCount; ++n)
        setCellText(n, 0, QString::number(n));
}

void KeyPanel::retranslateHeaders(const std::function<QString(const QString &)> &caption)
{
    if (!cellText(0, 1).isEmpty())
        writeHeaders(caption);
}

QString KeyPanel::cellText(int row, int column) const
{
    const QTableWidgetItem *item = keyGrid->item(row, column);
    return item ? item->text() : QString();
}

void KeyPanel::setCellText(int row, int column, const QString &text)
{
    keyGrid->item(row, column)->setText(text);
}

KeyRows KeyPanel::rows() const
{
    KeyRows out;
    for (int n = 1; n <= kKeyRowCount; ++n)
        out[n - 1] = {cellText(n, 1), cellText(n, 2)};
    return out;
}

void KeyPanel::setRows(const KeyRows &rows)
{
    for (int n = 1; n <= kKeyRowCount; ++n) {
        setCellText(n, 1, rows[n - 1].description);
        setCellText(n, 2, rows[n - 1].code);
    }
}

void KeyPanel::setCode(int row, const QString &code)
{
    setCellText(row, 2, code);
}

} // namespace zarven
