#include "config_file/config_loader.h"

#include "config_file/config_lines.h"
#include "core/cp1251.h"
#include "core/event_log.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/output_times.h"

#include <QSet>
#include <cctype>

namespace zarven {

namespace {

class Loader {
public:
    Loader(const QByteArray &content, ControlAccess &controls, EventLog &log)
        : in_(content), c_(controls), log_(log)
    {
    }

    void run();

private:
    QByteArray line() { return in_.readLine(); }
    void report(const QString &prefix, const QByteArray &value) { log_.add(toCp1251(prefix) + value); }
    // "1" ticks the box, "0" clears it, anything else changes nothing.
    void flagOrNothing(const QString &name, const QByteArray &value);

    void loadInput(int input);
    void loadSensor(int sensor);
    void loadArmingLevel();
    void loadArmingSms();
    void loadDelays();
    void loadDateTime();
    void loadOptions();
    void loadFirstCharacterFlag(const char *name);
    void loadLanguage();

    ConfigLineReader in_;
    ControlAccess &c_;
    EventLog &log_;
};

void Loader::flagOrNothing(const QString &name, const QByteArray &value)
{
    if (value == "1" || value == "0")
        c_.setChecked(name, value == "1");
}

void Loader::loadInput(int input)
{
    const InputControls in = inputControls(input);
    const QString n = QString::number(input);

    c_.setText(in.message, fromCp1251(line()));

    const QByteArray type = line();
    if (type == "0" || type == "1" || type == "2") {
        c_.setIndex(in.type, type.at(0) - '0');
    } else {
        c_.setIndex(in.type, -1);
        // "-" is this tool's own line for a list without a selection.
        if (type != "-")
            report(QLatin1Char('#') + n + (input == 1 ? QStringLiteral("Уровень Активации :=")
                                                  : QStringLiteral(" Уровень Активации :=")),
               type);
    }

    const QByteArray active = line();
    c_.setChecked(in.active, active == "1");
    if (active != "1" && active != "0")
        report(QLatin1Char('#') + n + QStringLiteral(" Код Активации :="), active);

    const QByteArray control24 = line();
    if (control24 == "1" || control24 == "0")
        c_.setChecked(in.control24, control24 == "1");
    else
        report(QLatin1Char('#') + n + QStringLiteral("Уровень Активации :="), control24);

    QByteArray joined;
    for (int slot = 0; slot < kOutputsPerInput; ++slot)
        joined += in_.readOutputTimeLine();
    const qsizetype blockSize = 2 * kOutputsPerInput;
    if (joined == QByteArray(blockSize, '\0')) {
        for (int slot = 0; slot < kOutputsPerInput; ++slot)
            c_.setChecked(outputControls(input, slot).assignment, false);
        return;
    }
    // Only a hand-made file has lines of another length; a missing byte
    // counts as 00 and bytes beyond the eighth are not used.
    joined = joined.leftJustified(blockSize, '\0', true);
    applyEachOutputTime(c_, input, joined);
}

void Loader::loadSensor(int sensor)
{
    const SensorControls s = sensorControls(sensor);
    c_.setChecked(s.enabled, line() == "1");
    c_.setText(s.lower, fromCp1251(line()));
    c_.setText(s.upper, fromCp1251(line()));
    c_.setChecked(s.keeping, line() == "1");
    c_.setIndex(s.output, StrToInt(fromCp1251(line())));
    c_.setText(s.economy, fromCp1251(line()));
    c_.setText(s.comfort, fromCp1251(line()));
    c_.setChecked(s.autoRegulation, line() == "1");
}

void Loader::loadArmingLevel()
{
    const QByteArray v = line();
    const int entry = v == "H" ? 0 : v == "L" ? 1 : v == "P" ? 2 : v == "T" ? 3 : -1;
    c_.setIndex(QStringLiteral("CBox_INPUT"), entry);
    if (entry < 0 && v != "-")
        report(QStringLiteral("#20 - Ошибка формата\r\nКод Активации ="), v);
}

void Loader::loadArmingSms()
{
    const QByteArray v = line();
    const char *const names[] = {"CheckBox_SMS_in", "CheckBox_SMS_out"};
    for (int k = 0; k < 2; ++k) {
        // A missing character counts as an invalid one.
        const QByteArray ch = v.mid(k, 1);
        c_.setChecked(QLatin1String(names[k]), ch == "1");
        if (ch != "1" && ch != "0")
            report(QStringLiteral("#21 - Ошибка формата передаваемых данных\r\nНа входе ="), ch);
    }
}

void Loader::loadDelays()
{
    c_.setText(QStringLiteral("SE_inp"), fromCp1251(line()));
    c_.setText(QStringLiteral("SE_out"), fromCp1251(line()));
    const QByteArray flags = line();
    for (int input = 1; input <= kInputs; ++input)
        c_.setChecked(delayControl(input), flags.mid(input - 1, 1) == "1");
}

void Loader::loadDateTime()
{
    // Manual date and time first, so that the clock does not overwrite the
    // loaded time.
    c_.setChecked(QStringLiteral("CheckBox4"), false);
    c_.setText(QStringLiteral("Edit_Date"), fromCp1251(line()));
    c_.setText(QStringLiteral("Edit_time"), fromCp1251(line()));
}

void Loader::loadOptions()
{
    flagOrNothing(QStringLiteral("CB_vnesh_IBP"), line());
    flagOrNothing(QStringLiteral("CB_mic_dinam"), line());
    flagOrNothing(QStringLiteral("CB_sms_sost"), line());
    c_.setIndex(QStringLiteral("CB_on_output_in"), StrToInt(fromCp1251(line())));
}

void Loader::loadFirstCharacterFlag(const char *name)
{
    flagOrNothing(QLatin1String(name), line().left(1));
}

void Loader::loadLanguage()
{
    const QByteArray first = line().left(1);
    if (first == "0" || first == "1")
        c_.setIndex(QStringLiteral("RG_Lang"), first.at(0) - '0');
}

void Loader::run()
{
    while (!in_.atEnd()) {
        const QByteArray header = line();
        if (!header.startsWith('#'))
            continue;
        const int record = StrToInt(fromCp1251(header.mid(1, 2)));
        switch (record) {
        case 1:
        case 2:
        case 3:
        case 4: loadInput(record); break;
        case 11:
        case 12:
        case 13:
        case 14:
        case 15: c_.setText(phoneControl(record - 10), WithPlus(fromCp1251(line()))); break;
        case 20: loadArmingLevel(); break;
        case 21: loadArmingSms(); break;
        case 23:
            for (int sensor = 1; sensor <= kSensors; ++sensor)
                loadSensor(sensor);
            break;
        case 28: loadDateTime(); break;
        case 36: loadDelays(); break;
        case 37: {
            const QByteArray v = line();
            if (v == "1" || v == "2")
                c_.setIndex(QStringLiteral("RadioGroup1"), v.at(0) - '1');
            else if (v == "-") // this tool's own line for no selection
                c_.setIndex(QStringLiteral("RadioGroup1"), -1);
            break;
        }
        case 38: flagOrNothing(QStringLiteral("CheckBox_Audio"), line()); break;
        case 39: loadOptions(); break;
        case 40: loadFirstCharacterFlag("CheckBox_SMS_All"); break;
        case 41: loadFirstCharacterFlag("CB_Ctrl_Volt"); break;
        case 42: loadFirstCharacterFlag("CB_Time_SMS"); break;
        case 43: loadFirstCharacterFlag("CB_Alarm_SMS"); break;
        case 44: loadFirstCharacterFlag("CB_Alarm_Ring"); break;
        case 45: loadLanguage(); break;
        default: break; // an unknown record: its lines are read as any others
        }
    }
}

} // namespace

void loadConfiguration(const QByteArray &content, ControlAccess &controls, EventLog &log)
{
    Loader(content, controls, log).run();
}

bool holdsCompleteRecord(const QByteArray &content)
{
    const auto digits = [](const QByteArray &line, qsizetype at) {
        return line.size() >= at + 2 && std::isdigit(uchar(line[at])) && std::isdigit(uchar(line[at + 1]))
            ? line.mid(at, 2)
            : QByteArray();
    };
    // The record numbers whose header has been seen; a later trailer of one
    // of them closes a record.
    QSet<QByteArray> opened;
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('#')) {
            if (const QByteArray n = digits(line, 1); !n.isEmpty())
                opened.insert(n);
        } else if (line.startsWith("//#")) {
            if (opened.contains(digits(line, 3)))
                return true;
        }
    }
    return false;
}

void runRulesAfterLoad(ControlAccess &controls)
{
    // Each sensor's keeping rule before its enable rule: the keeping rule
    // enables the keeping boxes, which a switched-off sensor must not keep.
    for (const char *name : {"CheckBox_in1", "CheckBox_in2", "CheckBox_in3", "CheckBox_in4", "CheckBox_11",
                             "CheckBox_21", "CheckBox_31", "CheckBox_41", "CheckBox_td11", "CheckBox_td1",
                             "CheckBox_td21", "CheckBox_td2"})
        controls.runClickRule(QLatin1String(name));
}

} // namespace zarven
