#include "settings/output_times.h"

#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"

namespace zarven {

QByteArray encodeOutputTimes(const ControlAccess &controls, int input)
{
    if (!controls.checked(inputControls(input).useOutputs))
        return QByteArray(2 * kOutputsPerInput, '\0');
    return encodeOutputRows(controls, input);
}

QByteArray encodeOutputRows(const ControlAccess &controls, int input)
{
    QByteArray block;
    for (int slot = 0; slot < kOutputsPerInput; ++slot) {
        const OutputControls out = outputControls(input, slot);
        block += outputTimeBytes(outputTimeOf(controls.checked(out.assignment), controls.checked(out.alwaysOn),
                                              controls.spinNumber(out.minutes), controls.spinNumber(out.seconds)));
    }
    return block;
}

void applyOutputTimes(ControlAccess &controls, int input, const QByteArray &block)
{
    Q_ASSERT(block.size() == 2 * kOutputsPerInput);
    if (block.count('\0') == block.size()) {
        for (int slot = 0; slot < kOutputsPerInput; ++slot)
            controls.setChecked(outputControls(input, slot).assignment, false);
        return;
    }
    applyEachOutputTime(controls, input, block);
}

void applyEachOutputTime(ControlAccess &controls, int input, const QByteArray &block)
{
    Q_ASSERT(block.size() == 2 * kOutputsPerInput);
    for (int slot = 0; slot < kOutputsPerInput; ++slot) {
        const OutputControls out = outputControls(input, slot);
        const quint16 v = outputTimeValue(block[2 * slot], block[2 * slot + 1]);
        if (v == kNotAssigned) {
            controls.setChecked(out.assignment, false);
            controls.setChecked(out.alwaysOn, false);
        } else if (v == kAlwaysOnCode) {
            controls.setChecked(out.assignment, true);
            controls.setChecked(out.alwaysOn, true);
            controls.setText(out.minutes, QStringLiteral("0"));
            controls.setText(out.seconds, QStringLiteral("1"));
        } else {
            // Codes above the always-on code are not durations: the output
            // counts as assigned and its times stay as they are.
            controls.setChecked(out.assignment, true);
            if (v <= kLongestOutputTime) {
                controls.setText(out.minutes, QString::number(v / 60));
                controls.setText(out.seconds, QString::number(v % 60));
            }
        }
    }
}

} // namespace zarven
