#pragma once
// The controls of the key programming mode: the panel Panel_key with its
// title, the key grid SGrid_key (a header row and a number column, fixed, in
// clMoneyGreen; descriptions and codes editable), the ten "Читать Ключ"
// buttons, "Сохранить ", "Отменить" and the frame "Работа с файлом"; and the
// yellow key prompt Panel7 with "Отмена". The window creates the two empty
// frames; this fills them.

#include "keys/key_table.h"

#include <QString>
#include <array>
#include <functional>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zarven {

class KeyPanel {
public:
    KeyPanel(QFrame *panelKey, QFrame *panel7);

    // Row 0's headers, given in Russian and put through caption (the
    // window's language; none: Russian), and the numbers 1 to 10 in column 0.
    void writeHeaders(const std::function<QString(const QString &)> &caption = {});
    // Writes the headers again in the caption's language, if they are written.
    void retranslateHeaders(const std::function<QString(const QString &)> &caption);
    KeyRows rows() const;
    void setRows(const KeyRows &rows);
    void setCode(int row, const QString &code); // row 1 to 10

    QFrame *Panel_key;
    QFrame *Panel7;
    QLabel *Label31 = nullptr;
    QTableWidget *SGrid_key = nullptr;
    std::array<QPushButton *, kKeyRowCount> BB_ReadKey{};
    QPushButton *BitBtn6 = nullptr; // "Сохранить "
    QPushButton *BitBtn7 = nullptr; // "Отменить"
    QGroupBox *GroupBox1 = nullptr;
    QPushButton *BitBtn9 = nullptr; // "Читать ключи из файла"
    QPushButton *BitBtn8 = nullptr; // "Сохранить ключи в файл"
    QPushButton *BitBtn5 = nullptr; // "Отмена"

private:
    void buildKeyPanel();
    void buildPrompt();
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
};

} // namespace zarven
