#include "settings/image_decoder.h"

#include "core/cp1251.h"
#include "core/event_log.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/output_times.h"

namespace zarven {

namespace {

const QString kFormatError = QStringLiteral(" - Ошибка формата передаваемых данных\r\n");

QByteArray entry(const char *tag, const QString &detail)
{
    return toCp1251(QLatin1String(tag) + kFormatError + detail);
}

const QByteArray &optionsByteEntry()
{
    static const QByteArray e = entry("#33", QStringLiteral("На входе ="));
    return e;
}

const QByteArray &notZeroOrOneEntry(const char *tag)
{
    static const QByteArray e38 = entry("#38", QStringLiteral("Символ <>0 или 1"));
    static const QByteArray e392 = entry("#39(2)", QStringLiteral("Символ <>0 или 1"));
    static const QByteArray e393 = entry("#39(3)", QStringLiteral("Символ <>0 или 1"));
    static const QByteArray e394 = entry("#39(4)", QStringLiteral("Символ <>0 или 1"));
    const QByteArray t(tag);
    if (t == "#38")
        return e38;
    if (t == "#39(3)")
        return e393;
    if (t == "#39(4)")
        return e394;
    return e392;
}

// Input type by byte; the contact types are read back as written ("3" is
// entry 1, "2" entry 2). -1: not a type byte.
int inputTypeEntry(char byte)
{
    switch (byte) {
    case '1': return 0;
    case '3': return 1;
    case '2': return 2;
    default: return -1;
    }
}

// The keeping output: digit 0 selects entry 0, digit d selects entry d - 1;
// beyond the fourth entry, and for a byte that is no digit, none.
int keepingOutputEntry(char byte)
{
    if (byte < '0' || byte > '9')
        return -1;
    const int d = byte - '0';
    const int e = d == 0 ? 0 : d - 1;
    return e <= 3 ? e : -1;
}

} // namespace

ImageDecoder::ImageDecoder(const QByteArray &packet, ControlAccess &controls, EventLog &log)
    : packet_(packet), controls_(controls), log_(log)
{
}

void ImageDecoder::logEntry(const QByteArray &e)
{
    log_.add(e);
}

qsizetype ImageDecoder::cutShort(qsizetype pos)
{
    const QString tag = QStringLiteral("#%1").arg(byteValue(at(pos)), 2, 16, QLatin1Char('0')).toUpper();
    logEntry(toCp1251(tag + kFormatError + QStringLiteral("Запись не закончена: конец пакета")));
    return packet_.size();
}

void ImageDecoder::applyStrictFlag(const char *name, char byte, const QByteArray &e, bool withByte)
{
    if (byte == '1' || byte == '0') {
        controls_.setChecked(QLatin1String(name), byte == '1');
        return;
    }
    logEntry(withByte ? e + byte : e);
}

qsizetype ImageDecoder::decodeInputRecord(qsizetype pos)
{
    const int input = byteValue(at(pos));
    const InputControls in = inputControls(input);
    const QString tag = QStringLiteral("#0") + QString::number(input) + kFormatError;

    const qsizetype end = packet_.indexOf(kRecordEnd, pos + 1);
    if (end < 0)
        return cutShort(pos);
    controls_.setText(in.message, fromCp1251(packet_.mid(pos + 1, end - pos - 1)));

    if (!has(end + 1))
        return cutShort(pos);
    const char type = at(end + 1);
    const int entry = inputTypeEntry(type);
    controls_.setIndex(in.type, entry);
    // "0" is the type byte of an inactive input as this tool writes it.
    if (entry < 0 && type != '0')
        logEntry(toCp1251(tag + QStringLiteral("Уровень активации =")) + type);

    if (!has(end + 2))
        return cutShort(pos);
    const char active = at(end + 2);
    controls_.setChecked(in.active, active == '1');
    if (active != '1' && active != '0')
        logEntry(toCp1251(tag + QStringLiteral("Код Активации Входа=")) + active);

    if (!has(end + 3))
        return cutShort(pos);
    const char control24 = at(end + 3);
    controls_.setChecked(in.control24, control24 == '1');
    if (control24 != '1' && control24 != '0')
        logEntry(toCp1251(tag + QStringLiteral("Код Контроль24=")) + control24);

    const qsizetype blockSize = 2 * kOutputsPerInput;
    if (!has(end + 3 + blockSize))
        return cutShort(pos);
    const QByteArray block = packet_.mid(end + 4, blockSize);
    applyOutputTimes(controls_, input, block);
    if (block.count('\0') != block.size())
        controls_.setChecked(in.useOutputs, true);
    return end + 3 + blockSize;
}

bool ImageDecoder::decodeSensorBlock(int sensor, qsizetype base)
{
    const SensorControls s = sensorControls(sensor);
    auto setTemperature = [this](const QString &name, qsizetype p) {
        controls_.setText(name, QString::number(temperatureFromByte(at(p))));
    };
    if (!has(base))
        return false;
    controls_.setChecked(s.enabled, at(base) == '1');
    if (!has(base + 1))
        return false;
    setTemperature(s.lower, base + 1);
    if (!has(base + 2))
        return false;
    setTemperature(s.upper, base + 2);
    if (!has(base + 3))
        return false;
    controls_.setChecked(s.keeping, at(base + 3) == '1');
    // Economy, comfort and automatic regulation are read only while keeping
    // is on; otherwise their bytes are passed over and the boxes stay.
    const bool keeping = controls_.checked(s.keeping);
    if (keeping) {
        if (!has(base + 4))
            return false;
        setTemperature(s.economy, base + 4);
        if (!has(base + 5))
            return false;
        setTemperature(s.comfort, base + 5);
        if (!has(base + 6))
            return false;
        controls_.setChecked(s.autoRegulation, at(base + 6) != '0');
    }
    if (!has(base + 7))
        return false;
    controls_.setIndex(s.output, keepingOutputEntry(at(base + 7)));
    return true;
}

qsizetype ImageDecoder::decodeThermostatRecord(qsizetype pos)
{
    constexpr qsizetype kBlock = 8;
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        if (!decodeSensorBlock(sensor, pos + 1 + (sensor - 1) * kBlock))
            return cutShort(pos);
    }
    return pos + kSensors * kBlock;
}

qsizetype ImageDecoder::decodeTelephoneRecord(qsizetype pos)
{
    qsizetype p = pos + 1;
    int k = 0;
    QByteArray last;
    for (;;) {
        if (!has(p))
            return cutShort(pos);
        if (at(p) == kRecordEnd)
            break;
        // Only "/" ends a number; a 0D before it belongs to the number.
        const qsizetype slash = packet_.indexOf(kNumberEnd, p);
        if (slash < 0)
            return cutShort(pos);
        last = packet_.mid(p, slash - p);
        if (++k <= kPhones)
            controls_.setText(phoneControl(k), WithPlus(fromCp1251(last)));
        p = slash + 1;
    }
    // The last number read is shown in the fifth box as well: a record of
    // three numbers shows its third twice, one of six shows its sixth.
    if (!last.isEmpty())
        controls_.setText(phoneControl(kPhones), WithPlus(fromCp1251(last)));
    return p;
}

qsizetype ImageDecoder::decodeOptionsRecord(qsizetype pos)
{
    qsizetype p = pos;
    auto next = [this, &p](char &byte) {
        if (!has(++p))
            return false;
        byte = at(p);
        return true;
    };
    char b = 0;

    if (!next(b))
        return cutShort(pos);
    if (b >= '1' && b <= '3')
        controls_.setIndex(QStringLiteral("CBox_INPUT"), b - '1');
    else
        logEntry(optionsByteEntry() + b);

    struct Flag {
        const char *name;
        const char *tag; // nullptr: the "#33" entry followed by the byte
    };
    static const Flag kFirst[] = {
        {"CheckBox_SMS_in", nullptr}, {"CheckBox_SMS_out", nullptr}, {"CheckBox_Audio", "#38"},
        {"CB_Ctrl_Volt", nullptr},    {"CB_vnesh_IBP", nullptr},     {"CB_Time_SMS", "#39(2)"},
        {"CB_mic_dinam", "#39(3)"},   {"CB_sms_sost", "#39(4)"},
    };
    auto applyFlag = [this](const Flag &f, char byte) {
        if (f.tag)
            applyStrictFlag(f.name, byte, notZeroOrOneEntry(f.tag), false);
        else
            applyStrictFlag(f.name, byte, optionsByteEntry(), true);
    };
    for (const Flag &f : kFirst) {
        if (!next(b))
            return cutShort(pos);
        applyFlag(f, b);
    }

    if (!next(b))
        return cutShort(pos);
    if (b >= '0' && b <= '4')
        controls_.setIndex(QStringLiteral("CB_on_output_in"), b - '0');
    else
        logEntry(optionsByteEntry() + b);

    static const Flag kAlarm[] = {{"CB_Alarm_SMS", "#39(2)"}, {"CB_Alarm_Ring", "#39(2)"}};
    for (const Flag &f : kAlarm) {
        if (!next(b))
            return cutShort(pos);
        applyFlag(f, b);
    }

    if (!next(b))
        return cutShort(pos);
    if (b == '1' || b == '2')
        controls_.setIndex(QStringLiteral("RadioGroup1"), b - '1');
    else
        logEntry(entry("#37", QStringLiteral("Символ <>1 или 2")));

    if (!next(b))
        return cutShort(pos);
    applyFlag({"CheckBox_SMS_All", "#39(2)"}, b);
    return p;
}

qsizetype ImageDecoder::decodeDateTimeRecord(qsizetype pos)
{
    constexpr qsizetype kText = 8;
    const QByteArray tooShort = entry("#26", QStringLiteral("Кол-во цифр в PIN коде < 4"));
    if (has(pos + kText))
        controls_.setText(QStringLiteral("Edit_Date"), fromCp1251(packet_.mid(pos + 1, kText)));
    else
        logEntry(tooShort);
    // The separator after the date is not examined.
    const qsizetype time = pos + kText + 2;
    if (has(time + kText - 1))
        controls_.setText(QStringLiteral("Edit_time"), fromCp1251(packet_.mid(time, kText)));
    else
        logEntry(tooShort);
    return time + kText - 1;
}

qsizetype ImageDecoder::decodeDelayRecord(qsizetype pos)
{
    if (!has(pos + 1))
        return cutShort(pos);
    controls_.setText(QStringLiteral("SE_inp"), QString::number(byteValue(at(pos + 1))));
    if (!has(pos + 2))
        return cutShort(pos);
    controls_.setText(QStringLiteral("SE_out"), QString::number(byteValue(at(pos + 2))));
    for (int input = 1; input <= kInputs; ++input) {
        const qsizetype p = pos + 2 + input;
        if (!has(p))
            return cutShort(pos);
        controls_.setChecked(delayControl(input), at(p) == '1');
    }
    return pos + 2 + kInputs;
}

} // namespace zarven
