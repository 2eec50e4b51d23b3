#include "settings/image_fields.h"

#include "core/cp1251.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/image_encoder.h"

namespace zarven {

namespace {

// Bytes per sensor block, options and delay flags in their records.
constexpr int kSensorBlock = 8;
constexpr int kOptionBytes = 14;
constexpr int kClockText = 8;

// The output times of an input's block, in block order.
const char *const kOutputCaptions[kOutputsPerInput] = {"Реле 2", "Выход 1(Сирена)", "Выход 2", "Реле 1"};

struct OptionField {
    const char *caption;
    FieldKind kind;
    bool onPhonePanel;
};

// The fourteen option bytes in record order. "SMS to all numbers" sits on the
// telephone panel, the others on the arming panel.
const OptionField kOptionFields[kOptionBytes] = {
    {"Уровень", FieldKind::ArmingLevel, false},
    {"Отправлять SMS при постановке", FieldKind::Flag, false},
    {"Отправлять SMS при снятии", FieldKind::Flag, false},
    {"Звуковой сигнал при постановке/снятии", FieldKind::Flag, false},
    {"Контроль напряжения питания", FieldKind::Flag, false},
    {"Внешний ИБП", FieldKind::Flag, false},
    {"Добавить время в SMS сообщение", FieldKind::Flag, false},
    {"Включить микрофон и динамик", FieldKind::Flag, false},
    {"Выслать SMS состояния", FieldKind::Flag, false},
    {"При постановке на охрану включить", FieldKind::OutputAtArming, false},
    {"При тревоге: SMS", FieldKind::Flag, false},
    {"При тревоге: Дозвон", FieldKind::Flag, false},
    {"Выход состояния охраны", FieldKind::ArmingStateOutput, false},
    {"Отправлять SMS на все номера", FieldKind::Flag, true},
};

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
    auto add = [&fields](const QString &place, const QString &caption, FieldKind kind, int gate = -1) {
        fields.push_back({place, caption, kind, gate});
        return int(fields.size()) - 1;
    };
    // Inputs: the message, type, active and 24-hour bytes, then the output
    // times; the spans below follow the same order.
    for (int input = 1; input <= kInputs; ++input) {
        const QString place = inputPlace(input);
        const int active = int(fields.size()) + 2;
        add(place, QStringLiteral("Сообщение"), FieldKind::Text, active);
        add(place, QStringLiteral("Тип входа"), FieldKind::InputType, active);
        add(place, QStringLiteral("Активировать"), FieldKind::Flag);
        add(place, QStringLiteral("Контроль 24 часа"), FieldKind::Flag, active);
        for (const char *caption : kOutputCaptions)
            add(place, QString::fromUtf8(caption), FieldKind::OutputTime, active);
    }
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const QString place = sensorPlace(sensor);
        const int enabled = add(place, QStringLiteral("Активировать"), FieldKind::Flag);
        add(place, QStringLiteral("Порог опасной температуры Min"), FieldKind::Temperature, enabled);
        add(place, QStringLiteral("Порог опасной температуры Max"), FieldKind::Temperature, enabled);
        const int keeping = add(place, QStringLiteral("Поддержание температуры"), FieldKind::Flag, enabled);
        add(place, QStringLiteral("Эконом"), FieldKind::Temperature, keeping);
        add(place, QStringLiteral("Комфорт"), FieldKind::Temperature, keeping);
        add(place, QStringLiteral("Авторегулировка температуры после снятия с охраны"), FieldKind::Flag, keeping);
        add(place, QStringLiteral("Применить для выхода"), FieldKind::KeepingOutput, keeping);
    }
    for (int k = 1; k <= kPhones; ++k)
        add(kPhonePlace, QStringLiteral("Номер %1").arg(k), FieldKind::Phone);
    for (const OptionField &o : kOptionFields)
        add(o.onPhonePanel ? kPhonePlace : kArmingPlace, QString::fromUtf8(o.caption), o.kind);
    add(kPhonePlace, QStringLiteral("Дата"), FieldKind::Date);
    add(kPhonePlace, QStringLiteral("Время"), FieldKind::Time);
    add(kArmingPlace, QStringLiteral("Время задержки: постановка"), FieldKind::Seconds);
    add(kArmingPlace, QStringLiteral("Время задержки: снятие"), FieldKind::Seconds);
    for (int input = 1; input <= kInputs; ++input)
        add(kArmingPlace, QStringLiteral("Задержка для входа %1").arg(input), FieldKind::Flag);
    return fields;
}

// Appends one record to the layout; spans are given relative to the record.
class LayoutBuilder {
public:
    explicit LayoutBuilder(ImageLayout &layout) : layout_(layout) {}

    void record(const QByteArray &bytes)
    {
        base_ = layout_.image.size();
        layout_.image += bytes;
    }
    // A span of the current record, clipped to it.
    void span(qsizetype pos, qsizetype length)
    {
        const qsizetype size = layout_.image.size() - base_;
        const qsizetype from = qBound<qsizetype>(0, pos, size);
        layout_.spans.append({base_ + from, qBound<qsizetype>(0, length, size - from)});
    }
    const QByteArray &image() const { return layout_.image; }
    qsizetype base() const { return base_; }

private:
    ImageLayout &layout_;
    qsizetype base_ = 0;
};

QString translated(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

QString hexText(const QByteArray &bytes)
{
    return QStringLiteral("%1 hex").arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

// The entry a one-byte field names, from its table of bytes and entries.
QString entryText(const QByteArray &bytes, const char *table, std::initializer_list<const char *> entries,
                  const TextTranslator &tr)
{
    if (bytes.size() == 1) {
        const qsizetype at = QByteArray(table).indexOf(bytes.at(0));
        if (at >= 0 && at < qsizetype(entries.size()))
            return translated(tr, QString::fromUtf8(entries.begin()[at]));
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
    if (v > kLongestOutputTime)
        return hexText(bytes);
    return translated(tr, QStringLiteral("%1 мин %2 сек")).arg(v / 60).arg(v % 60);
}

} // namespace

const std::vector<ImageField> &imageFields()
{
    static const std::vector<ImageField> fields = buildFields();
    return fields;
}

ImageLayout imageLayout(const ControlAccess &c)
{
    ImageLayout layout;
    LayoutBuilder b(layout);
    for (int input = 1; input <= kInputs; ++input) {
        b.record(encodeInputRecord(c, input));
        const qsizetype end = b.image().indexOf(kRecordEnd, b.base() + 1) - b.base();
        b.span(1, end - 1);
        for (int after = 1; after <= 3; ++after)
            b.span(end + after, 1);
        for (int slot = 0; slot < kOutputsPerInput; ++slot)
            b.span(end + 4 + 2 * slot, 2);
    }
    b.record(encodeThermostatRecord(c));
    for (int sensor = 0; sensor < kSensors; ++sensor)
        for (int offset = 0; offset < kSensorBlock; ++offset)
            b.span(1 + sensor * kSensorBlock + offset, 1);

    const QByteArray phones = encodeTelephoneRecord(c);
    b.record(phones);
    qsizetype from = 1;
    for (int k = 1; k <= kPhones; ++k) {
        const qsizetype slash = phones.indexOf(kNumberEnd, from);
        b.span(from, slash - from);
        from = slash + 1;
    }

    b.record(encodeOptionsRecord(c));
    for (int offset = 1; offset <= kOptionBytes; ++offset)
        b.span(offset, 1);

    b.record(encodeDateTimeRecord(c));
    b.span(1, kClockText);
    b.span(2 + kClockText, kClockText);

    b.record(encodeDelayRecord(c));
    for (int offset = 1; offset <= 2 + kInputs; ++offset)
        b.span(offset, 1);

    Q_ASSERT(layout.spans.size() == qsizetype(imageFields().size()));
    return layout;
}

QList<QByteArray> encodedFields(const ControlAccess &controls)
{
    const ImageLayout layout = imageLayout(controls);
    QList<QByteArray> values;
    values.reserve(layout.spans.size());
    for (const FieldSpan &s : layout.spans)
        values.append(layout.image.mid(s.pos, s.length));
    return values;
}

QString fieldValueText(FieldKind kind, const QByteArray &bytes, const TextTranslator &tr)
{
    auto entry = [&](const char *table, std::initializer_list<const char *> entries) {
        return entryText(bytes, table, entries, tr);
    };
    switch (kind) {
    case FieldKind::Flag:
        return entry("10", {"да", "нет"});
    case FieldKind::Text:
    case FieldKind::Date:
    case FieldKind::Time:
        return fromCp1251(bytes);
    case FieldKind::InputType:
        return entry("132", {"Внешний уровень 3-12В", "Нормально разомкнутый НРЗ", "Нормально замкнутый НЗ"});
    case FieldKind::OutputTime:
        return outputTimeText(bytes, tr);
    case FieldKind::Temperature:
        return bytes.size() == 1 ? QString::number(temperatureFromByte(bytes.at(0))) : hexText(bytes);
    case FieldKind::KeepingOutput:
        return entry("1234", {"Реле1", "Реле2", "Выход1(ОК1)", "Выход2(ОК2)"});
    case FieldKind::ArmingLevel:
        return entry("123", {"Высокий", "Низкий", "Touch Memory/Импульс"});
    case FieldKind::OutputAtArming:
        return entry("01234", {"Не задействовать", "Реле1", "Реле2", "Выход1(ОК1)", "Выход2(ОК2)"});
    case FieldKind::ArmingStateOutput:
        return entry("12", {"Светодиод(LED)", "Внешн. извещатель"});
    case FieldKind::Phone:
        return QLatin1Char('+') + fromCp1251(bytes);
    case FieldKind::Seconds:
        return bytes.size() == 1 ? QString::number(byteValue(bytes.at(0))) : hexText(bytes);
    }
    return hexText(bytes);
}

} // namespace zarven
