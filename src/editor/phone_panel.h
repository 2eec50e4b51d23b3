#pragma once
// The telephone panel (Panel4, "Список телефонов для вызова"): the five
// numbers to call, SMS to all numbers, and the date and time with their
// automatic/manual switch and its rule.

#include <QDate>
#include <QFrame>
#include <memory>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zarven {

class PhoneEdit;
class RuleHook;

class PhonePanel : public QFrame {
    Q_OBJECT
public:
    explicit PhonePanel(std::shared_ptr<const RuleHook> hook, QWidget *parent = nullptr);

    QList<PhoneEdit *> phones() const { return {phone1, phone2, phone3, phone4, phone5}; }

    // Each control's objectName is its designer name, given here: the
    // configuration file, the settings image and the write's messages name
    // the control by it.
    QLabel *title = nullptr;
    PhoneEdit *phone1 = nullptr; // ME_tel1 to ME_tel5
    PhoneEdit *phone2 = nullptr;
    PhoneEdit *phone3 = nullptr;
    PhoneEdit *phone4 = nullptr;
    PhoneEdit *phone5 = nullptr;
    QCheckBox *smsToAllBox = nullptr;     // CheckBox_SMS_All
    QLineEdit *dateEdit = nullptr;        // Edit_Date
    QLineEdit *timeEdit = nullptr;        // Edit_time
    QCheckBox *autoDateTimeBox = nullptr; // CheckBox4, "Дата-Время (Авто/ручное)"

    // Where the date-time rule takes today's date from (the computer's
    // clock; tests fix it).
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // The date-time rule ("CheckBox4Click"): automatic (ticked) or manual
    // date and time.
    void applyDateTimeRule();
    // The clock's step: while the date and time are automatic, the time box
    // shows the time text given and the date box today's date.
    void clockTick(const QString &timeText);

private:
    std::shared_ptr<const RuleHook> hook_;
};

} // namespace zarven
