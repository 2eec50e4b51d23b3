#include "settings/image_fields.h"

#include "core/cp1251.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/image_encoder.h"
#include "settings/stored_fields.h"

namespace zarven {

namespace {

constexpr int kOptionBytes = 14;

// The lowest and highest temperature and the longest delay the window's
// boxes hold.
constexpr int kLowestTemperature = -55;
constexpr int kHighestTemperature = 125;
constexpr int kLongestDelay = 250;
// The longest output time the minutes and seconds boxes hold.
constexpr int kLongestWindowTime = 1090 * 60 + 59;

struct OptionField {
    const char *key;
    const char *caption;
    FieldKind kind;
    const char *control;
    bool onPhonePanel;
};

// The fourteen option bytes in record order. "SMS to all numbers" sits on the
// telephone panel, the others on the arming panel.
const OptionField kOptionFields[kOptionBytes] = {
    {"arming.level", "Уровень", FieldKind::ArmingLevel, "CBox_INPUT", false},
    {"sms.arming", "Отправлять SMS при постановке", FieldKind::Flag, "CheckBox_SMS_in", false},
    {"sms.disarming", "Отправлять SMS при снятии", FieldKind::Flag, "CheckBox_SMS_out", false},
    {"beep", "Звуковой сигнал при постановке/снятии", FieldKind::Flag, "CheckBox_Audio", false},
    {"voltage.control", "Контроль напряжения питания", FieldKind::Flag, "CB_Ctrl_Volt", false},
    {"external.ups", "Внешний ИБП", FieldKind::Flag, "CB_vnesh_IBP", false},
    {"sms.time", "Добавить время в SMS сообщение", FieldKind::Flag, "CB_Time_SMS", false},
    {"mic.speaker", "Включить микрофон и динамик", FieldKind::Flag, "CB_mic_dinam", false},
    {"sms.state", "Выслать SMS состояния", FieldKind::Flag, "CB_sms_sost", false},
    {"arming.output", "При постановке на охрану включить", FieldKind::OutputAtArming, "CB_on_output_in", false},
    {"alarm.sms", "При тревоге: SMS", FieldKind::Flag, "CB_Alarm_SMS", false},
    {"alarm.call", "При тревоге: Дозвон", FieldKind::Flag, "CB_Alarm_Ring", false},
    {"arming.state.output", "Выход состояния охраны", FieldKind::ArmingStateOutput, "RadioGroup1", false},
    {"sms.all", "Отправлять SMS на все номера", FieldKind::Flag, "CheckBox_SMS_All", true},
};

// The output times of an input's block, in block order.
struct OutputField {
    const char *key;
    const char *caption;
};
const OutputField kOutputFields[kOutputsPerInput] = {
    {"relay2", "Реле 2"}, {"siren", "Выход 1(Сирена)"}, {"output2", "Выход 2"}, {"relay1", "Реле 1"}};

const QString kPhonePlace = QStringLiteral("Телефоны");
const QString kArmingPlace = QStringLiteral("Постановка/Снятие");

QString inputPlace(int input)
{
    return QStringLiteral("Вход %1").arg(input);
}

QString sensorPlace(int sensor)
{
    return QStringLiteral("Термодатчик %1").arg(sensor);
}

std::vector<ImageField> buildFields()
{
    std::vector<ImageField> fields;
    auto add = [&fields](const QString &key, const QString &place, const QString &caption, FieldKind kind,
                         const QStringList &controls, int gate = -1) {
        fields.push_back({key, place, caption, kind, gate, controls});
        return int(fields.size()) - 1;
    };
    // Inputs: the message, type, active and 24-hour bytes, then the output
    // times, as the record carries them.
    for (int input = 1; input <= kInputs; ++input) {
        const QString place = inputPlace(input);
        const QString key = QStringLiteral("input%1.").arg(input);
        const InputControls in = inputControls(input);
        const int active = int(fields.size()) + 2;
        add(key + QLatin1String("message"), place, QStringLiteral("Сообщение"), FieldKind::Text, {in.message}, active);
        add(key + QLatin1String("type"), place, QStringLiteral("Тип входа"), FieldKind::InputType, {in.type}, active);
        add(key + QLatin1String("active"), place, QStringLiteral("Активировать"), FieldKind::Flag, {in.active});
        add(key + QLatin1String("control24"), place, QStringLiteral("Контроль 24 часа"), FieldKind::Flag, {in.control24}, active);
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const OutputControls out = outputControls(input, slot);
            add(key + QLatin1String(kOutputFields[slot].key), place, QString::fromUtf8(kOutputFields[slot].caption),
                FieldKind::OutputTime, {out.assignment, out.alwaysOn, out.minutes, out.seconds}, active);
        }
    }
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const QString place = sensorPlace(sensor);
        const QString key = QStringLiteral("sensor%1.").arg(sensor);
        const SensorControls s = sensorControls(sensor);
        const int enabled = add(key + QLatin1String("enabled"), place, QStringLiteral("Активировать"), FieldKind::Flag, {s.enabled});
        add(key + QLatin1String("min"), place, QStringLiteral("Порог опасной температуры Min"), FieldKind::Temperature, {s.lower},
            enabled);
        add(key + QLatin1String("max"), place, QStringLiteral("Порог опасной температуры Max"), FieldKind::Temperature, {s.upper},
            enabled);
        const int keeping = add(key + QLatin1String("keeping"), place, QStringLiteral("Поддержание температуры"), FieldKind::Flag,
                                {s.keeping}, enabled);
        add(key + QLatin1String("economy"), place, QStringLiteral("Эконом"), FieldKind::Temperature, {s.economy}, keeping);
        add(key + QLatin1String("comfort"), place, QStringLiteral("Комфорт"), FieldKind::Temperature, {s.comfort}, keeping);
        add(key + QLatin1String("auto"), place, QStringLiteral("Авторегулировка температуры после снятия с охраны"), FieldKind::Flag,
            {s.autoRegulation}, keeping);
        add(key + QLatin1String("output"), place, QStringLiteral("Применить для выхода"), FieldKind::KeepingOutput, {s.output},
            keeping);
    }
    for (int k = 1; k <= kPhones; ++k)
        add(QStringLiteral("phone%1").arg(k), kPhonePlace, QStringLiteral("Номер %1").arg(k), FieldKind::Phone,
            {phoneControl(k)});
    for (const OptionField &o : kOptionFields)
        add(QLatin1String(o.key), o.onPhonePanel ? kPhonePlace : kArmingPlace, QString::fromUtf8(o.caption), o.kind,
            {QLatin1String(o.control)});
    add(QStringLiteral("date"), kPhonePlace, QStringLiteral("Дата"), FieldKind::Date, {QStringLiteral("Edit_Date")});
    add(QStringLiteral("time"), kPhonePlace, QStringLiteral("Время"), FieldKind::Time, {QStringLiteral("Edit_time")});
    add(QStringLiteral("delay.arming"), kArmingPlace, QStringLiteral("Время задержки: постановка"), FieldKind::Seconds,
        {QStringLiteral("SE_inp")});
    add(QStringLiteral("delay.disarming"), kArmingPlace, QStringLiteral("Время задержки: снятие"), FieldKind::Seconds,
        {QStringLiteral("SE_out")});
    for (int input = 1; input <= kInputs; ++input)
        add(QStringLiteral("delay.input%1").arg(input), kArmingPlace, QStringLiteral("Задержка для входа %1").arg(input),
            FieldKind::Flag, {delayControl(input)});
    return fields;
}

QString translated(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

QString hexText(const QByteArray &bytes)
{
    return QStringLiteral("%1 hex").arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

// The entry a one-byte field names, from its table of bytes and entries.
QString entryText(const QByteArray &bytes, const char *table, FieldKind kind, const TextTranslator &tr)
{
    const QStringList entries = fieldEntries(kind);
    if (bytes.size() == 1) {
        const qsizetype at = QByteArray(table).indexOf(bytes.at(0));
        if (at >= 0 && at < entries.size())
            return translated(tr, entries.at(at));
    }
    return hexText(bytes);
}

QString outputTimeText(const QByteArray &bytes, const TextTranslator &tr)
{
    if (bytes.size() != 2)
        return hexText(bytes);
    const quint16 v = outputTimeValue(bytes.at(0), bytes.at(1));
    if (v == kNotAssigned)
        return translated(tr, QStringLiteral("не задействован"));
    if (v == kAlwaysOnCode)
        return translated(tr, QStringLiteral("Вкл. всегда"));
    if (v > kLongestWindowTime)
        return hexText(bytes);
    return translated(tr, QStringLiteral("%1 мин %2 сек")).arg(v / 60).arg(v % 60);
}

} // namespace

const std::vector<ImageField> &imageFields()
{
    static const std::vector<ImageField> fields = buildFields();
    return fields;
}

int fieldIndex(QStringView key)
{
    const auto &fields = imageFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key)
            return int(i);
    return -1;
}

int fieldOfControl(const QString &controlName)
{
    const auto &fields = imageFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].controls.contains(controlName))
            return int(i);
    return -1;
}

QString fieldLabel(int field, const TextTranslator &tr)
{
    const ImageField &f = imageFields().at(size_t(field));
    return translated(tr, f.place) + QStringLiteral(" / ") + translated(tr, f.caption);
}

ImageLayout imageLayout(const ControlAccess &c)
{
    ImageLayout layout;
    for (int input = 1; input <= kInputs; ++input)
        layout.image += encodeInputRecord(c, input);
    layout.image += encodeThermostatRecord(c);
    layout.image += encodeTelephoneRecord(c);
    layout.image += encodeOptionsRecord(c);
    layout.image += encodeDateTimeRecord(c);
    layout.image += encodeDelayRecord(c);
    layout.spans = storedFields(layout.image).spans;
    return layout;
}

FieldValues encodedFields(const ControlAccess &controls)
{
    return storedFields(imageLayout(controls).image).values;
}

QStringList fieldEntries(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Flag:
        return {QStringLiteral("да"), QStringLiteral("нет")};
    case FieldKind::InputType:
        return {QStringLiteral("Внешний уровень 3-12В"), QStringLiteral("Нормально разомкнутый НРЗ"),
                QStringLiteral("Нормально замкнутый НЗ")};
    case FieldKind::KeepingOutput:
        return {QStringLiteral("Реле1"), QStringLiteral("Реле2"), QStringLiteral("Выход1(ОК1)"),
                QStringLiteral("Выход2(ОК2)")};
    case FieldKind::ArmingLevel:
        return {QStringLiteral("Высокий"), QStringLiteral("Низкий"), QStringLiteral("Touch Memory/Импульс")};
    case FieldKind::OutputAtArming:
        return {QStringLiteral("Не задействовать"), QStringLiteral("Реле1"), QStringLiteral("Реле2"),
                QStringLiteral("Выход1(ОК1)"), QStringLiteral("Выход2(ОК2)")};
    case FieldKind::ArmingStateOutput:
        return {QStringLiteral("Светодиод(LED)"), QStringLiteral("Внешн. извещатель")};
    default:
        return {};
    }
}

QString fieldValueText(FieldKind kind, const QByteArray &bytes, const TextTranslator &tr)
{
    auto entry = [&](const char *table) { return entryText(bytes, table, kind, tr); };
    switch (kind) {
    case FieldKind::Flag:
        return entry("10");
    case FieldKind::Text:
    case FieldKind::Date:
    case FieldKind::Time:
        return fromCp1251(bytes);
    case FieldKind::InputType:
        return entry("132");
    case FieldKind::OutputTime:
        return outputTimeText(bytes, tr);
    case FieldKind::Temperature: {
        const int degrees = bytes.size() == 1 ? temperatureFromByte(bytes.at(0)) : kLowestTemperature - 1;
        return degrees >= kLowestTemperature && degrees <= kHighestTemperature ? QString::number(degrees)
                                                                               : hexText(bytes);
    }
    case FieldKind::KeepingOutput:
        return entry("1234");
    case FieldKind::ArmingLevel:
        return entry("123");
    case FieldKind::OutputAtArming:
        return entry("01234");
    case FieldKind::ArmingStateOutput:
        return entry("12");
    case FieldKind::Phone:
        return QLatin1Char('+') + fromCp1251(bytes);
    case FieldKind::Seconds:
        return bytes.size() == 1 && byteValue(bytes.at(0)) <= kLongestDelay ? QString::number(byteValue(bytes.at(0)))
                                                                            : hexText(bytes);
    }
    return hexText(bytes);
}

} // namespace zarven
