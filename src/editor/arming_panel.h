#pragma once
// The arming panel (Panel5, "Постановка/Снятие"): arming level, arming and
// disarming delays, per-input delay, SMS, sound and supply options, the
// action on an incoming call, the output switched on when armed, alarm
// reporting, the armed-state output and the message language; with the delay
// rule and the voltage control rule.

#include <QFrame>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace zarven {

class RadioGroup;
class RuleHook;
class SpinEdit;

class ArmingPanel : public QFrame {
    Q_OBJECT
public:
    explicit ArmingPanel(std::shared_ptr<const RuleHook> hook, QWidget *parent = nullptr);

    // Puts the heading of the delay boxes inside the panel and each box
    // under its digit; run again after the heading's font or text changed.
    void alignDelayBoxes();
    QList<QCheckBox *> delayBoxes() const { return {CB_delay1, CB_delay2, CB_delay3, CB_delay4}; }

    QLabel *title = nullptr;
    QComboBox *CBox_INPUT = nullptr;
    SpinEdit *SE_inp = nullptr;
    SpinEdit *SE_out = nullptr;
    QCheckBox *CB_delay1 = nullptr;
    QCheckBox *CB_delay2 = nullptr;
    QCheckBox *CB_delay3 = nullptr;
    QCheckBox *CB_delay4 = nullptr;
    QCheckBox *CheckBox_SMS_in = nullptr;
    QCheckBox *CheckBox_SMS_out = nullptr;
    QCheckBox *CheckBox_Audio = nullptr;
    QCheckBox *CB_Ctrl_Volt = nullptr;
    QCheckBox *CB_vnesh_IBP = nullptr;
    QCheckBox *CB_Time_SMS = nullptr;
    QCheckBox *CB_mic_dinam = nullptr;
    QCheckBox *CB_sms_sost = nullptr;
    QComboBox *CB_on_output_in = nullptr;
    QCheckBox *CB_Alarm_SMS = nullptr;
    QCheckBox *CB_Alarm_Ring = nullptr;
    RadioGroup *RadioGroup1 = nullptr;
    RadioGroup *RG_Lang = nullptr;

    // The delay rule of SE_inp or SE_out: an emptied box shows "0".
    void delayChange(SpinEdit *box);
    // The voltage control rule: "Внешний ИБП" is usable only while the
    // supply voltage is watched.
    void CB_Ctrl_VoltClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::shared_ptr<const RuleHook> hook_;
    QLabel *delayHeading_ = nullptr;
};

} // namespace zarven
