#pragma once
// The controls of the key programming mode: the panel keyFrame with its
// title, the key grid keyGrid (a header row and a number column, fixed, in
// clMoneyGreen; descriptions and codes editable), the ten "Читать Ключ"
// buttons, "Сохранить ", "Отменить" and the frame "Работа с файлом"; and the
// yellow key prompt keyPrompt with "Отмена". The window creates the two empty
// frames; this fills them.

#include "keys/key_table.h"

#include <QString>
#include <array>
#include <functional>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zarven {

class KeyPanel {
public:
    KeyPanel(QFrame *frame, QFrame *prompt);

    // Row 0's headers, given in Russian and put through caption (the
    // window's language; none: Russian), and the numbers 1 to 10 in column 0.
    void writeHeaders(const std::function<QString(const QString &)> &caption = {});
    // Writes the headers again in the caption's language, if they are written.
    void retranslateHeaders(const std::function<QString(const QString &)> &caption);
    KeyRows rows() const;
    void setRows(const KeyRows &rows);
    void setCode(int row, const QString &code); // row 1 to 10
    // Captions made here at run time (the help line, the code marks) go
    // through caption (the window's language; none: Russian).
    void setCaptionTranslation(std::function<QString(const QString &)> caption);
    // The mark of row's code (1 to 10), as its tooltip says it: empty, or
    // why the code will not do.
    QString codeMark(int row) const;

    // Each control's objectName is its designer name, given here.
    QFrame *keyFrame;                                         // Panel_key
    QFrame *keyPrompt;                                        // Panel7
    QLabel *keyPanelTitle = nullptr;                          // Label31
    QTableWidget *keyGrid = nullptr;                          // SGrid_key
    std::array<QPushButton *, kKeyRowCount> readKeyButtons{}; // BB_ReadKey1 to 10, "Читать Ключ"
    QPushButton *writeKeysButton = nullptr;     // BitBtn6, "Сохранить "
    QPushButton *closeKeysButton = nullptr;     // BitBtn7, "Отменить"
    QGroupBox *keyFileGroup = nullptr;          // GroupBox1
    QPushButton *loadKeyFileButton = nullptr;   // BitBtn9, "Читать ключи из файла"
    QPushButton *saveKeyFileButton = nullptr;   // BitBtn8, "Сохранить ключи в файл"
    QPushButton *keyWaitCancelButton = nullptr; // BitBtn5, "Отмена" of the prompt
    QLabel *keyHelp = nullptr;                  // Label_key_help, the line under the grid

private:
    void buildKeyPanel();
    void buildPrompt();
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    // The help line for the cell at row, column holding text.
    void showHelp(int row, int column, const QString &text);
    // A cell editor's text changed.
    void typed(int row, int column, const QString &text, QLineEdit *editor);
    // Marks every code that is not 16 hexadecimal digits or stands in
    // another row too.
    void markCodes();
    QString inLanguage(const QString &russian) const;

    std::function<QString(const QString &)> caption_;
};

} // namespace zarven
