#pragma once
// The journal window ("Файл" → "Журнал"): the entries newest first, a search
// over site names, file names and phone numbers, and what can be done with
// the selected entry. The window only lists and selects; each action is
// handed to the main window, which owns the settings and the line.

#include "journal/journal_store.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zarven {

struct JournalWindowActions {
    std::function<void(const JournalEntry &)> openInWindow;
    std::function<void(const JournalEntry &)> exportEntry;
    std::function<void(const JournalEntry &)> compareWithWindow;
    std::function<void(const JournalEntry &)> compareWithController;
    std::function<void(const JournalEntry &, const JournalEntry &)> compareEntries;
    std::function<void(const JournalEntry &)> writeBack;
};

class JournalWindow : public QDialog {
    Q_OBJECT
public:
    JournalWindow(JournalStore &store, JournalWindowActions actions,
                  std::function<QString(const QString &)> translate, QWidget *parent = nullptr);

    // Lists the entries again (after a new one, or a new search).
    void reload();
    QTableWidget *table() const { return table_; }
    QLineEdit *search() const { return search_; }
    // The buttons by their Russian captions' order: open, export, compare
    // with the window, with the controller, two entries, write back.
    QList<QPushButton *> buttons() const { return buttons_; }

private:
    QList<JournalEntry> selectedEntries() const;
    void updateButtons();

    JournalStore &store_;
    JournalWindowActions actions_;
    std::function<QString(const QString &)> tr_;
    QLineEdit *search_ = nullptr;
    QTableWidget *table_ = nullptr;
    QList<QPushButton *> buttons_;
    QList<qint64> ids_; // by row
};

} // namespace zarven
