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

    QList<PhoneEdit *> phones() const { return {ME_tel1, ME_tel2, ME_tel3, ME_tel4, ME_tel5}; }

    QLabel *title = nullptr;
    PhoneEdit *ME_tel1 = nullptr;
    PhoneEdit *ME_tel2 = nullptr;
    PhoneEdit *ME_tel3 = nullptr;
    PhoneEdit *ME_tel4 = nullptr;
    PhoneEdit *ME_tel5 = nullptr;
    QCheckBox *CheckBox_SMS_All = nullptr;
    QLineEdit *Edit_Date = nullptr;
    QLineEdit *Edit_time = nullptr;
    QCheckBox *CheckBox4 = nullptr;

    // Where the date-time rule takes today's date from (the computer's
    // clock; tests fix it).
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // The date-time rule: automatic (ticked) or manual date and time.
    void CheckBox4Click();
    // The clock's step: while the date and time are automatic, the time box
    // shows the time text given.
    void clockTick(const QString &timeText);

private:
    std::shared_ptr<const RuleHook> hook_;
};

} // namespace zarven
