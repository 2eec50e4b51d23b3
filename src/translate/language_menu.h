#pragma once
// The language menu "Выбор Языка": the items "Русский" and "Английский"
// switch the whole window between its designed Russian texts and English
// through the dictionary's sections "Rus" and "Eng".

#include <QChar>
#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace zarven {

class MessageBoxes;
struct SharedValues;

class LanguageMenu : public QObject {
    Q_OBJECT
public:
    // The menu lives as long as the window, which is its parent.
    LanguageMenu(QWidget *window, SharedValues &shared, MessageBoxes &boxes, QAction *russian,
                 QAction *english);

    // "Английский": with Russian shown, the language becomes "E" first (so
    // messages from then on are English), the window is translated through
    // "Eng", and only then does the tick move to "Английский". A failed
    // write-back ends the switch part-way and leaves the ticks as they were.
    // With English already shown nothing is read or written.
    void menu_englishClick();
    // "Русский": the same towards "R" through "Rus".
    void menu_russianClick();

    // Puts the ticks back to what the switches have set. A checkable menu
    // item toggles itself when clicked, before its handler runs; this undoes
    // that for a click that changed nothing or failed.
    void showTicks();

private:
    void switchTo(QChar code, const QString &section, bool russianTicked);

    QWidget *window_;
    SharedValues &shared_;
    MessageBoxes &boxes_;
    QAction *russian_;
    QAction *english_;
    bool russianTicked_;
};

} // namespace zarven
