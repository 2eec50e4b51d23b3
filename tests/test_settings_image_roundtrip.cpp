// Image round trip: every control the settings image carries survives an
// encode followed by a decode into a reset window.

#include "core/strings.h"
#include "editor/settings_panels.h"
#include "formats_fixture.h"
#include "settings/control_names.h"
#include "settings/image_encoder.h"
#include "settings/image_reader.h"
#include "window_state.h"

#include <QtTest>
#include <functional>

using namespace zarven;
using namespace zarven::test;

using StateSetter = std::function<void(ControlAccess &)>;
Q_DECLARE_METATYPE(StateSetter)

namespace {

void otherTypesAndFlags(ControlAccess &c)
{
    applyRichState(c);
    c.setIndex(QStringLiteral("CBox_IN1"), 0);
    c.setIndex(QStringLiteral("CBox_IN2"), 2);
    c.setChecked(QStringLiteral("CheckBox_in3"), true);
    c.setIndex(QStringLiteral("CBox_IN3"), 1);
    c.setChecked(QStringLiteral("CB_ctrl_24_3"), true);
    c.setChecked(QStringLiteral("CheckBox_in4"), false);
    c.setChecked(QStringLiteral("CheckBox_td11"), false);
    c.setChecked(QStringLiteral("CheckBox_td2"), true);
    c.setText(QStringLiteral("SE_min_td2"), QStringLiteral("-1"));
    c.setText(QStringLiteral("SE_max_td2"), QStringLiteral("-2"));
    c.setChecked(QStringLiteral("CheckBox_td21"), true);
    c.setText(QStringLiteral("SE_Min_td21"), QStringLiteral("-55"));
    c.setText(QStringLiteral("SE_max_td21"), QStringLiteral("125"));
    c.setChecked(QStringLiteral("CheckBox_td2_auto"), false);
    c.setIndex(QStringLiteral("CB_td2_out"), 3);
    c.setIndex(QStringLiteral("CBox_INPUT"), 2);
    c.setIndex(QStringLiteral("CB_on_output_in"), 0);
    c.setIndex(QStringLiteral("RadioGroup1"), 0);
    for (const char *name : {"CheckBox_SMS_in", "CheckBox_SMS_out", "CheckBox_Audio", "CB_Ctrl_Volt", "CB_vnesh_IBP",
                             "CB_Time_SMS", "CB_mic_dinam", "CB_sms_sost", "CB_Alarm_SMS", "CB_Alarm_Ring",
                             "CheckBox_SMS_All", "CB_delay1", "CB_delay2", "CB_delay3", "CB_delay4"})
        c.setChecked(QLatin1String(name), !c.checked(QLatin1String(name)));
    for (int k = 1; k <= kPhones; ++k)
        c.setText(phoneControl(k), QStringLiteral("+9876543210123%1").arg(k).left(15));
    c.setText(QStringLiteral("Edit_time"), QStringLiteral("23:59:58"));
    c.setText(QStringLiteral("SE_inp"), QStringLiteral("0"));
    c.setText(QStringLiteral("SE_out"), QStringLiteral("1"));
}

// Every output of every input assigned, with times whose bytes are the
// line-end and end-of-file bytes, the shortest and the longest.
void everyOutputAssigned(ControlAccess &c)
{
    applyRichState(c);
    const int seconds[] = {1, 10, 13, 26, 59, 60, 2570, 3341, 6682, 65459, 600, 0, 3599, 120, 61, 1};
    for (int input = 1; input <= kInputs; ++input) {
        c.setChecked(inputControls(input).active, true);
        c.setChecked(inputControls(input).useOutputs, true);
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const OutputControls out = outputControls(input, slot);
            const int v = seconds[(input - 1) * kOutputsPerInput + slot];
            c.setChecked(out.assignment, true);
            // The output without a time is always on.
            c.setChecked(out.alwaysOn, v == 0);
            c.setText(out.minutes, QString::number(v / 60));
            c.setText(out.seconds, QString::number(v % 60));
        }
    }
}

} // namespace

class SettingsImageRoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void everyCarriedControlSurvives_data()
    {
        QTest::addColumn<StateSetter>("setState");
        QTest::newRow("rich state") << StateSetter(applyRichState);
        QTest::newRow("other types and flags") << StateSetter(otherTypesAndFlags);
        QTest::newRow("every output assigned") << StateSetter(everyOutputAssigned);
    }
    void everyCarriedControlSurvives()
    {
        QFETCH(StateSetter, setState);
        FormatsWindow source;
        setState(source.controls());
        const QByteArray stream = encodeWriteStream(source.controls(), source.form().shared);

        FormatsWindow target;
        target.controls().panels().cleanPanel();
        const QByteArray image = stream.mid(4, stream.size() - 6);
        QCOMPARE(decodeSettingsImage(image, target.controls(), target.form().eventLog), 7);
        // An inactive input's type byte "0" is the tool's own: nothing is
        // logged.
        QCOMPARE(target.log(), QStringList());
        QCOMPARE(imageState(target.controls()), imageState(source.controls()));
        QCOMPARE(encodeWriteStream(target.controls(), target.form().shared), stream);
    }
};

QTEST_MAIN(SettingsImageRoundTripTest)
#include "test_settings_image_roundtrip.moc"
