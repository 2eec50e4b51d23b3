#include "settings/image_encoder.h"

#include "core/cp1251.h"
#include "core/shared_values.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/output_times.h"

namespace zarven {

namespace {

// Input type by list entry; the contact types are written "3" and "2".
char inputTypeByte(int entry)
{
    switch (entry) {
    case 1: return '3';
    case 2: return '2';
    default: return '1'; // entry 0, and the entry an active input gets
    }
}

char armingLevelByte(int entry)
{
    switch (entry) {
    case 0: return '1';
    case 1: return '2';
    default: return '3'; // entry 2, the window's starting entry
    }
}

char outputAtArmingByte(int entry)
{
    return entry >= 0 && entry <= 4 ? char('0' + entry) : '0';
}

char armingStateOutputByte(int entry)
{
    return entry == 1 ? '2' : '1';
}

// The first character of the decimal text of (entry + 1): "1" to "4" for
// the four entries, "0" for no selection.
char keepingOutputByte(int entry)
{
    return QString::number(entry + 1).at(0).toLatin1();
}

QByteArray sensorBlock(const ControlAccess &c, int sensor)
{
    const SensorControls s = sensorControls(sensor);
    if (!c.checked(s.enabled))
        return QByteArrayLiteral("01101100");
    QByteArray block;
    block += '1';
    block += temperatureByte(c.spinNumber(s.lower));
    block += temperatureByte(c.spinNumber(s.upper));
    if (!c.checked(s.keeping))
        return block + QByteArrayLiteral("01100");
    block += '1';
    block += temperatureByte(c.spinNumber(s.economy));
    block += temperatureByte(c.spinNumber(s.comfort));
    block += flagByte(c.checked(s.autoRegulation));
    block += keepingOutputByte(c.index(s.output));
    return block;
}

} // namespace

QByteArray encodeInputRecord(const ControlAccess &c, int input)
{
    const InputControls in = inputControls(input);
    QByteArray record(1, char(input));
    if (!c.checked(in.active)) {
        record += QByteArrayLiteral(" \r000");
        record += QByteArray(2 * kOutputsPerInput, '\0');
        return record;
    }
    record += toCp1251(c.text(in.message).left(kImageMessageLength));
    record += kRecordEnd;
    record += inputTypeByte(c.index(in.type));
    record += '1';
    record += flagByte(c.checked(in.control24));
    record += encodeOutputTimes(c, input);
    return record;
}

QByteArray encodeThermostatRecord(const ControlAccess &c)
{
    QByteArray record(1, kThermostatRecord);
    for (int sensor = 1; sensor <= kSensors; ++sensor)
        record += sensorBlock(c, sensor);
    record += kRecordEnd;
    return record;
}

QByteArray encodeTelephoneRecord(const ControlAccess &c)
{
    QByteArray record(1, kTelephoneRecord);
    for (int k = 1; k <= kPhones; ++k)
        record += toCp1251(PhoneDigits(c.text(phoneControl(k)))) + kNumberEnd;
    record += kRecordEnd;
    return record;
}

QByteArray encodeOptionsRecord(const ControlAccess &c)
{
    QByteArray record(1, kOptionsRecord);
    record += armingLevelByte(c.index(QStringLiteral("CBox_INPUT")));
    for (const char *name : {"CheckBox_SMS_in", "CheckBox_SMS_out", "CheckBox_Audio", "CB_Ctrl_Volt", "CB_vnesh_IBP",
                             "CB_Time_SMS", "CB_mic_dinam", "CB_sms_sost"})
        record += flagByte(c.checked(QLatin1String(name)));
    record += outputAtArmingByte(c.index(QStringLiteral("CB_on_output_in")));
    record += flagByte(c.checked(QStringLiteral("CB_Alarm_SMS")));
    record += flagByte(c.checked(QStringLiteral("CB_Alarm_Ring")));
    record += armingStateOutputByte(c.index(QStringLiteral("RadioGroup1")));
    record += flagByte(c.checked(QStringLiteral("CheckBox_SMS_All")));
    record += kRecordEnd;
    return record;
}

QByteArray encodeDateTimeRecord(const ControlAccess &c)
{
    QString time = c.text(QStringLiteral("Edit_time"));
    if (time.size() >= 2 && time.at(1) == QLatin1Char(':'))
        time.prepend(QLatin1Char('0'));
    QByteArray record(1, kDateTimeRecord);
    record += toCp1251(c.text(QStringLiteral("Edit_Date")));
    record += ';';
    record += toCp1251(time);
    record += kRecordEnd;
    return record;
}

QByteArray encodeDelayRecord(const ControlAccess &c)
{
    QByteArray record(1, kDelayRecord);
    record += char(quint8(c.spinNumber(QStringLiteral("SE_inp"))));
    record += char(quint8(c.spinNumber(QStringLiteral("SE_out"))));
    for (int input = 1; input <= kInputs; ++input)
        record += flagByte(c.checked(delayControl(input)));
    record += kRecordEnd;
    return record;
}

QByteArray encodeWritePiece(const ControlAccess &c, const SharedValues &shared, int piece)
{
    switch (piece) {
    case 1: return shared.PacketStart + kWriteCommand;
    case 2:
    case 3:
    case 4:
    case 5: return encodeInputRecord(c, piece - 1);
    case 6: return encodeThermostatRecord(c);
    case 7: return encodeTelephoneRecord(c);
    case 8: return encodeOptionsRecord(c);
    case 9: return encodeDateTimeRecord(c);
    case 10: return encodeDelayRecord(c);
    case 11: return shared.PacketStop;
    default: return {};
    }
}

QByteArray encodeWriteStream(const ControlAccess &c, const SharedValues &shared)
{
    QByteArray stream;
    for (int piece = 1; piece <= kWritePieces; ++piece)
        stream += encodeWritePiece(c, shared, piece);
    return stream;
}

} // namespace zarven
