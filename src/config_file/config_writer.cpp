#include "config_file/config_writer.h"

#include "core/cp1251.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/output_times.h"

namespace zarven {

namespace {

// At most this many characters of a control's text are written.
constexpr int kLongestText = 250;

class Lines {
public:
    // A line break or 1A inside a text (a message read from the controller
    // may hold them) would split the record or end the file when it is
    // loaded; they are written as blanks.
    void text(const QString &t)
    {
        QByteArray line = toCp1251(t.left(kLongestText));
        for (char &b : line)
            if (b == '\n' || b == '\r' || b == '\x1A')
                b = ' ';
        bytes_ += line + "\r\n";
    }
    void raw(const QByteArray &b) { bytes_ += b + "\r\n"; }
    void flag(bool on) { text(on ? QStringLiteral("1") : QStringLiteral("0")); }
    void header(int record) { text(QStringLiteral("#%1").arg(record, 2, 10, QLatin1Char('0'))); }
    void trailer(int record) { text(QStringLiteral("//#%1").arg(record, 2, 10, QLatin1Char('0'))); }
    const QByteArray &bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

void writeInput(Lines &out, const ControlAccess &c, int input)
{
    const InputControls in = inputControls(input);
    out.header(input);
    out.text(c.text(in.message).left(input == 1 ? 25 : 40));
    const int type = c.index(in.type);
    out.text(type < 0 ? QStringLiteral("-") : QString::number(type).left(1));
    out.flag(c.checked(in.active));
    out.flag(c.checked(in.control24));
    // A switched-off input keeps its rows' assignments in the file; the
    // settings image still sends eight 00 bytes for it.
    const QByteArray times = c.checked(in.active) ? encodeOutputTimes(c, input) : encodeOutputRows(c, input);
    for (int slot = 0; slot < kOutputsPerInput; ++slot)
        out.raw(times.mid(2 * slot, 2));
    out.trailer(input);
}

void writeSensor(Lines &out, const ControlAccess &c, int sensor)
{
    const SensorControls s = sensorControls(sensor);
    if (!c.checked(s.enabled)) {
        for (int line = 0; line < 8; ++line)
            out.text(QStringLiteral("0"));
        return;
    }
    out.text(QStringLiteral("1"));
    out.text(c.text(s.lower));
    out.text(c.text(s.upper));
    out.flag(c.checked(s.keeping));
    out.text(QString::number(c.index(s.output)));
    out.text(c.text(s.economy));
    out.text(c.text(s.comfort));
    out.flag(c.checked(s.autoRegulation));
}

QString flagText(const ControlAccess &c, const char *name)
{
    return c.checked(QLatin1String(name)) ? QStringLiteral("1") : QStringLiteral("0");
}

void writeSingleFlag(Lines &out, const ControlAccess &c, int record, const char *name)
{
    out.header(record);
    out.text(flagText(c, name));
    out.trailer(record);
}

} // namespace

QByteArray encodeConfiguration(const ControlAccess &c, const SessionStamp &stamp)
{
    Lines out;
    // Every input is written, an inactive one with "0" on its third line, so
    // that loading the file switches off an input that was off when saved.
    for (int input = 1; input <= kInputs; ++input)
        writeInput(out, c, input);

    out.header(23);
    for (int sensor = 1; sensor <= kSensors; ++sensor)
        writeSensor(out, c, sensor);
    out.trailer(23);

    for (int k = 1; k <= kPhones; ++k) {
        out.header(10 + k);
        out.text(PhoneDigits(c.text(phoneControl(k))));
        out.trailer(10 + k);
    }

    static const char *const kLevels[] = {"H", "L", "P", "T"};
    const int level = c.index(QStringLiteral("CBox_INPUT"));
    out.header(20);
    out.text(level >= 0 && level <= 3 ? QLatin1String(kLevels[level]) : QLatin1String("-"));
    out.trailer(20);

    out.header(21);
    out.text(flagText(c, "CheckBox_SMS_in") + flagText(c, "CheckBox_SMS_out"));
    out.trailer(21);

    out.header(36);
    out.text(c.text(QStringLiteral("SE_inp")));
    out.text(c.text(QStringLiteral("SE_out")));
    QString delays;
    for (int input = 1; input <= kInputs; ++input)
        delays += c.checked(delayControl(input)) ? QLatin1Char('1') : QLatin1Char('0');
    out.text(delays);
    out.trailer(36);

    out.header(28);
    out.text(c.text(QStringLiteral("Edit_Date")));
    out.text(c.text(QStringLiteral("Edit_time")));
    out.trailer(28);

    const int stateOutput = c.index(QStringLiteral("RadioGroup1"));
    out.header(37);
    out.text(stateOutput == 0 ? QStringLiteral("1") : stateOutput == 1 ? QStringLiteral("2") : QStringLiteral("-"));
    out.trailer(37);

    writeSingleFlag(out, c, 38, "CheckBox_Audio");

    out.header(39);
    out.text(flagText(c, "CB_vnesh_IBP"));
    out.text(flagText(c, "CB_mic_dinam"));
    out.text(flagText(c, "CB_sms_sost"));
    out.text(QString::number(c.index(QStringLiteral("CB_on_output_in"))));
    out.trailer(39);

    writeSingleFlag(out, c, 40, "CheckBox_SMS_All");
    writeSingleFlag(out, c, 41, "CB_Ctrl_Volt");
    writeSingleFlag(out, c, 42, "CB_Time_SMS");
    writeSingleFlag(out, c, 43, "CB_Alarm_SMS");
    writeSingleFlag(out, c, 44, "CB_Alarm_Ring");

    const int language = c.index(QStringLiteral("RG_Lang"));
    out.header(45);
    out.text(language < 0 ? QString() : QString::number(language));
    out.trailer(45);

    out.text(QStringLiteral("@message"));
    out.text(QStringLiteral("Дата сеанса:") + stamp.date);
    out.text(QStringLiteral("Время сеанса:") + stamp.time);
    return out.bytes();
}

} // namespace zarven
