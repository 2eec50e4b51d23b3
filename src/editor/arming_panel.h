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
    QList<QCheckBox *> delayBoxes() const { return {inputDelayBox1, inputDelayBox2, inputDelayBox3, inputDelayBox4}; }

    // Each control's objectName is its designer name, given here: the
    // configuration file and the settings image find the control by it.
    QLabel *title = nullptr;
    QComboBox *armingLevelList = nullptr;       // CBox_INPUT, "Уровень"
    SpinEdit *armingDelayBox = nullptr;         // SE_inp, "Постановка -"
    SpinEdit *disarmingDelayBox = nullptr;      // SE_out, "Снятие -"
    QCheckBox *inputDelayBox1 = nullptr;        // CB_delay1 to CB_delay4, "Задержка для входов"
    QCheckBox *inputDelayBox2 = nullptr;
    QCheckBox *inputDelayBox3 = nullptr;
    QCheckBox *inputDelayBox4 = nullptr;
    QCheckBox *smsOnArmingBox = nullptr;        // CheckBox_SMS_in
    QCheckBox *smsOnDisarmingBox = nullptr;     // CheckBox_SMS_out
    QCheckBox *soundOnArmingBox = nullptr;      // CheckBox_Audio
    QCheckBox *watchSupplyBox = nullptr;        // CB_Ctrl_Volt, "Контроль напряжения питания"
    QCheckBox *externalUpsBox = nullptr;        // CB_vnesh_IBP, "Внешний ИБП"
    QCheckBox *timeInSmsBox = nullptr;          // CB_Time_SMS
    QCheckBox *callAudioBox = nullptr;          // CB_mic_dinam, "Включить микрофон и динамик"
    QCheckBox *callStateSmsBox = nullptr;       // CB_sms_sost, "Выслать SMS состояния"
    QComboBox *armedOutputList = nullptr;       // CB_on_output_in, "При постановке на охрану включить"
    QCheckBox *alarmSmsBox = nullptr;           // CB_Alarm_SMS
    QCheckBox *alarmCallBox = nullptr;          // CB_Alarm_Ring, "Дозвон"
    RadioGroup *armedStateOutputGroup = nullptr; // RadioGroup1, "Выход состояния охраны"
    RadioGroup *messageLanguageGroup = nullptr;  // RG_Lang, hidden

    // The delay rule of either delay box: an emptied box shows "0".
    void delayChange(SpinEdit *box);
    // The voltage control rule ("CB_Ctrl_VoltClick"): "Внешний ИБП" is
    // usable only while the supply voltage is watched.
    void applySupplyWatchRule();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::shared_ptr<const RuleHook> hook_;
    QLabel *delayHeading_ = nullptr;
};

} // namespace zarven
