#pragma once
// One temperature sensor's panel ("Термодатчик 1", "Термодатчик 2"):
// activation, the danger thresholds, temperature keeping with its sub-panel
// (output, economy and comfort temperatures, automatic regulation after
// disarming) and the rules that keep them consistent. The two sensors are two
// instances; every control is named as in the window's catalogue with the
// sensor's digit (CheckBox_td2, SE_Min_td21, CB_td2_out …).

#include <QFrame>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace zarven {

class RuleHook;
class SpinEdit;

class SensorPanel : public QFrame {
    Q_OBJECT
public:
    SensorPanel(int sensor, std::shared_ptr<const RuleHook> hook, QWidget *parent = nullptr);

    int sensor() const { return sensor_; }
    // The eight temperature boxes' family: the four of this sensor.
    QList<SpinEdit *> temperatureEdits() const { return {minEdit, maxEdit, economyEdit, comfortEdit}; }

    QLabel *title = nullptr;
    QCheckBox *activeBox = nullptr;  // CheckBox_tdN "Активировать"
    SpinEdit *minEdit = nullptr;     // SE_min_tdN, lower danger threshold
    SpinEdit *maxEdit = nullptr;     // SE_max_tdN, upper danger threshold
    QCheckBox *keepingBox = nullptr; // CheckBox_tdN1 "Поддержание температуры"
    QFrame *keepingPanel = nullptr;  // Panel_tdN_2
    QComboBox *outputList = nullptr; // CB_tdN_out
    SpinEdit *economyEdit = nullptr; // SE_Min_tdN1
    SpinEdit *comfortEdit = nullptr; // SE_max_tdN1
    QCheckBox *autoBox = nullptr;    // CheckBox_tdN_auto

    // The rules, named after the handlers they are in the window.
    void activeClick();                    // CheckBox_tdNClick
    void keepingClick();                   // CheckBox_tdN1Click
    void autoClick();                      // CheckBox_tdN_autoClick
    void temperatureChange(SpinEdit *box); // SE_min_td1Change and its kin

private:
    void connectRules();

    int sensor_;
    std::shared_ptr<const RuleHook> hook_;
};

} // namespace zarven
