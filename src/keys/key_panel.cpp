#include "keys/key_panel.h"

#include "editor/palette.h"

#include <QFrame>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// The cell editor: typing takes letters and digits only, up to the number of
// positions of the column. A longer text from a key file is shown and kept
// whole; it only cannot grow.
class KeyCellEditor : public QLineEdit {
public:
    KeyCellEditor(int positions, QWidget *parent) : QLineEdit(parent), positions_(positions)
    {
        // Its paste would pass unfiltered text; the keyboard's paste below
        // takes the same path as typing.
        setContextMenuPolicy(Qt::NoContextMenu);
    }

protected:
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

private:
    // Inserts the letters and digits of text at the cursor, as many as the
    // free positions hold.
    void insertFiltered(const QString &text)
    {
        QString kept;
        std::copy_if(text.begin(), text.end(), std::back_inserter(kept), [](QChar c) { return c.isLetterOrNumber(); });
        const qsizetype room = qMax<qsizetype>(positions_, this->text().size()) - this->text().size()
            + selectedText().size();
        kept.truncate(qMax<qsizetype>(room, 0));
        if (!kept.isEmpty())
            insert(kept);
    }

    int positions_;
};

class KeyCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new KeyCellEditor(index.column() == 1 ? kDescriptionPositions : kCodePositions, parent);
        editor->setFrame(false);
        return editor;
    }
};

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

KeyPanel::KeyPanel(QFrame *panelKey, QFrame *panel7) : Panel_key(panelKey), Panel7(panel7)
{
    buildKeyPanel();
    buildPrompt();
}

void KeyPanel::buildKeyPanel()
{
    Panel_key->setLineWidth(3);

    Label31 = new QLabel(QStringLiteral("Программирование ключей "), Panel_key);
    Label31->setObjectName(QStringLiteral("Label31"));
    Label31->setGeometry(3, 3, 539, 22);
    Label31->setAlignment(Qt::AlignCenter);
    QFont bold = Label31->font();
    bold.setBold(true);
    Label31->setFont(bold);
    paintBackground(Label31, clSkyBlue);

    SGrid_key = new QTableWidget(kKeyRowCount + 1, 3, Panel_key);
    SGrid_key->setObjectName(QStringLiteral("SGrid_key"));
    SGrid_key->horizontalHeader()->setVisible(false);
    SGrid_key->verticalHeader()->setVisible(false);
    SGrid_key->setColumnWidth(0, 40);
    SGrid_key->setColumnWidth(1, 168);
    SGrid_key->setColumnWidth(2, 169);
    for (int r = 0; r <= kKeyRowCount; ++r)
        SGrid_key->setRowHeight(r, kRowHeight);
    SGrid_key->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGrid_key->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGrid_key->setGeometry(8, 32, 40 + 168 + 169 + 4, (kKeyRowCount + 1) * kRowHeight + 4);
    SGrid_key->setItemDelegate(new KeyCellDelegate(SGrid_key));
    for (int r = 0; r <= kKeyRowCount; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem();
            if (r == 0 || c == 0) {
                // The fixed row and column: not editable, in the fixed colour.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette::clMoneyGreen);
            }
            SGrid_key->setItem(r, c, item);
        }
    }

    for (int n = 1; n <= kKeyRowCount; ++n)
        BB_ReadKey[n - 1] = makeButton(Panel_key, QStringLiteral("BB_ReadKey%1").arg(n), QStringLiteral("Читать Ключ"),
                                       {400, 32 + 2 + n * kRowHeight, 120, kRowHeight - 2});

    BitBtn6 = makeButton(Panel_key, QStringLiteral("BitBtn6"), QStringLiteral("Сохранить "), {8, 312, 130, 28});
    BitBtn7 = makeButton(Panel_key, QStringLiteral("BitBtn7"), QStringLiteral("Отменить"), {8, 346, 130, 28});

    GroupBox1 = new QGroupBox(QStringLiteral("Работа с файлом"), Panel_key);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(150, 306, 386, 70);
    BitBtn9 = makeButton(GroupBox1, QStringLiteral("BitBtn9"), QStringLiteral("Читать ключи из файла"), {8, 28, 180, 30});
    BitBtn8 = makeButton(GroupBox1, QStringLiteral("BitBtn8"), QStringLiteral("Сохранить ключи в файл"), {196, 28, 182, 30});
}

void KeyPanel::buildPrompt()
{
    paintBackground(Panel7, palette::clYellow);
    // The window made the prompt's first line; it moves to the top.
    auto *prompt = Panel7->findChild<QLabel *>(QStringLiteral("Label_key_prompt"));
    if (!prompt)
        prompt = new QLabel(QStringLiteral("Поднесите ключ к считывателю"), Panel7);
    prompt->setGeometry(8, 6, 249, 20);
    prompt->setAlignment(Qt::AlignCenter);
    QFont font = prompt->font();
    font.setBold(true);
    font.setUnderline(true);
    prompt->setFont(font);

    auto *wait = new QLabel(QStringLiteral("ожидание - 10 секунд"), Panel7);
    wait->setObjectName(QStringLiteral("Label_key_wait"));
    wait->setGeometry(8, 28, 249, 18);
    wait->setAlignment(Qt::AlignCenter);

    BitBtn5 = makeButton(Panel7, QStringLiteral("BitBtn5"), QStringLiteral("Отмена"), {92, 52, 81, 28});
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
    const QTableWidgetItem *item = SGrid_key->item(row, column);
    return item ? item->text() : QString();
}

void KeyPanel::setCellText(int row, int column, const QString &text)
{
    SGrid_key->item(row, column)->setText(text);
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
