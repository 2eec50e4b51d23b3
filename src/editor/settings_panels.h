#pragma once
// All settings panels of the main window: it creates them on the client area
// at their places, finds any settings control by its name, and runs the
// operations that span panels: the reset (cleanPanel), the start-up steps and
// the clock's step.
//
// Setting values from code. The controls' own setters are the one way, and
// the by-name functions below use nothing else: QCheckBox::setChecked runs
// the box's click rule once when the state actually changes and never
// otherwise (rules hang on toggled()); setting a spin or text box's text runs
// its change rule whenever the text changes (rules hang on textChanged());
// selecting a list or radio group entry runs no rule (none hangs there).

#include "editor/rule_hook.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace zarven {

class ArmingPanel;
class InputPanel;
class PhoneEdit;
class PhonePanel;
class RadioGroup;
class SensorPanel;
class SpinEdit;

class SettingsPanels : public QObject {
    Q_OBJECT
public:
    // Creates every panel on clientArea with the designed values; no rule
    // runs until startUp().
    explicit SettingsPanels(QWidget *clientArea, QObject *parent = nullptr);

    PhonePanel *phonePanel() const { return phone_; }
    ArmingPanel *armingPanel() const { return arming_; }
    InputPanel *inputPanel(int input) const { return inputs_.at(size_t(input - 1)); }    // 1 to 4
    SensorPanel *sensorPanel(int sensor) const { return sensors_.at(size_t(sensor - 1)); } // 1 or 2

    // Tests listen here to the rules as they run.
    RuleHook &rules() { return *hook_; }

    // A panel, control or caption by its name (CheckBox_in1, SE_min_td2,
    // phone3, Panel_td1_2 …); nullptr when there is none.
    QWidget *control(const QString &name) const;
    QCheckBox *checkBox(const QString &name) const;
    SpinEdit *spinEdit(const QString &name) const;
    QLineEdit *lineEdit(const QString &name) const; // text and phone boxes
    PhoneEdit *phoneEdit(const QString &name) const;
    QComboBox *list(const QString &name) const;
    RadioGroup *radioGroup(const QString &name) const;
    // Every name, in the order the panels were built.
    QStringList controlNames() const { return names_; }

    // Values by name, as the settings image and the configuration file read
    // and set them. A name that is not a control of that kind throws AppError.
    bool isChecked(const QString &name) const;
    void setChecked(const QString &name, bool ticked);
    // A spin box's text, a text box's text, or a phone box's text of 15
    // characters ("+" and 14 places, a blank place as a space).
    QString text(const QString &name) const;
    void setText(const QString &name, const QString &text);
    // The selected entry of a list or radio group, -1 for none.
    int itemIndex(const QString &name) const;
    void setItemIndex(const QString &name, int index);

    // Resets every settings control before the controller's settings are
    // read into the window; each change runs its rule as any change from
    // code does. Leaves "SMS to all numbers", the date-time mode, the four
    // delay boxes, the message language and the use-outputs box of an input
    // that was already inactive as they are.
    void cleanPanel();

    // The window's start-up steps for the panels: the armed-state output
    // takes its first entry, then the input rules of inputs 1 to 4 and the
    // sensor rules of sensors 1 and 2 run once each, in this order.
    void startUp();

    // The clock's step: the date and time boxes follow the clock while the
    // date and time are automatic.
    void clockTick(const QString &timeText);

private:
    void registerNames(QWidget *panel);
    [[noreturn]] void noSuchControl(const QString &name) const;

    // Shared with the panels, whose rules may outlive this object while the
    // window takes its widgets down.
    std::shared_ptr<RuleHook> hook_ = std::make_shared<RuleHook>();
    PhonePanel *phone_ = nullptr;
    ArmingPanel *arming_ = nullptr;
    std::array<InputPanel *, 4> inputs_{};
    std::array<SensorPanel *, 2> sensors_{};
    QHash<QString, QWidget *> byName_;
    QStringList names_;
};

} // namespace zarven
