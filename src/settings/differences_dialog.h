#pragma once
// The dialog that lists the fields in which the window and the controller
// differ: one row each with the place, the field's caption, the window's value
// and the controller's value, all in the window's language; "Различий нет"
// when nothing differs. "Копировать" puts the list on the clipboard as text,
// one line per difference, the lines the batch commands print.

#include "settings/settings_compare.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace zarven {

class DifferencesDialog : public QDialog {
    Q_OBJECT
public:
    DifferencesDialog(const CompareReport &report, const TextTranslator &tr, QWidget *parent = nullptr);

    // The text "Копировать" puts on the clipboard.
    QString reportText() const { return text_; }
    void copyToClipboard() const;

    QLabel *heading = nullptr;
    QTableWidget *table = nullptr;

private:
    QString text_;
};

} // namespace zarven
