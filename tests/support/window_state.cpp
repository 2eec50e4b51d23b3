#include "window_state.h"

#include "core/strings.h"
#include "editor/settings_panels.h"
#include "settings/control_access.h"
#include "settings/control_names.h"

namespace zarven::test {

QStringList imageState(const ControlAccess &c)
{
    QStringList s;
    auto flag = [&c](const QString &name) { return name + QLatin1Char('=') + QString::number(c.checked(name)); };
    auto number = [&c](const QString &name) { return name + QLatin1Char('=') + QString::number(c.spinNumber(name)); };
    // A list without a selection is carried as the entry the window gives
    // it on its own.
    auto entry = [&c](const QString &name, int none = -1) {
        const int index = c.index(name);
        return name + QLatin1Char('=') + QString::number(index < 0 ? none : index);
    };
    auto text = [&c](const QString &name) { return name + QLatin1Char('=') + c.text(name); };

    for (int input = 1; input <= kInputs; ++input) {
        const InputControls in = inputControls(input);
        s << flag(in.active);
        if (!c.checked(in.active))
            continue;
        // The record carries the first 25 characters of a message.
        s << in.message + QLatin1Char('=') + c.text(in.message).left(25) << entry(in.type, 0) << flag(in.control24);
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const OutputControls out = outputControls(input, slot);
            // Without the use-outputs box no output is assigned.
            const bool assigned = c.checked(in.useOutputs) && c.checked(out.assignment);
            s << out.assignment + QLatin1Char('=') + QString::number(assigned);
            if (!assigned)
                continue;
            s << flag(out.alwaysOn);
            if (!c.checked(out.alwaysOn))
                s << number(out.minutes) << number(out.seconds);
        }
    }
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const SensorControls t = sensorControls(sensor);
        s << flag(t.enabled);
        if (!c.checked(t.enabled))
            continue;
        s << number(t.lower) << number(t.upper) << flag(t.keeping);
        if (c.checked(t.keeping))
            s << number(t.economy) << number(t.comfort) << flag(t.autoRegulation) << entry(t.output, 0);
    }
    for (int k = 1; k <= kPhones; ++k)
        s << phoneControl(k) + QLatin1Char('=') + PhoneDigits(c.text(phoneControl(k)));
    s << entry(QStringLiteral("CBox_INPUT"), 2) << entry(QStringLiteral("CB_on_output_in"), 0)
      << entry(QStringLiteral("RadioGroup1"), 0);
    for (const char *name : {"CheckBox_SMS_in", "CheckBox_SMS_out", "CheckBox_Audio", "CB_Ctrl_Volt", "CB_vnesh_IBP",
                             "CB_Time_SMS", "CB_mic_dinam", "CB_sms_sost", "CB_Alarm_SMS", "CB_Alarm_Ring",
                             "CheckBox_SMS_All"})
        s << flag(QLatin1String(name));
    // A one-digit hour is written with its leading zero.
    QString time = c.text(QStringLiteral("Edit_time"));
    if (time.size() >= 2 && time.at(1) == QLatin1Char(':'))
        time.prepend(QLatin1Char('0'));
    s << text(QStringLiteral("Edit_Date")) << QStringLiteral("Edit_time=") + time;
    s << number(QStringLiteral("SE_inp")) << number(QStringLiteral("SE_out"));
    for (int input = 1; input <= kInputs; ++input)
        s << flag(delayControl(input));
    return s;
}

QStringList windowState(const SettingsPanels &panels)
{
    QStringList s;
    for (const QString &name : panels.controlNames()) {
        if (panels.checkBox(name))
            s << name + QLatin1Char('=') + QString::number(panels.isChecked(name));
        else if (panels.spinEdit(name) || panels.lineEdit(name))
            s << name + QLatin1Char('=') + panels.text(name);
        else if (panels.list(name) || panels.radioGroup(name))
            s << name + QLatin1Char('=') + QString::number(panels.itemIndex(name));
    }
    return s;
}

} // namespace zarven::test
