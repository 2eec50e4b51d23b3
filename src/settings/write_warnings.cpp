#include "settings/write_warnings.h"

#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/output_times.h"

#include <QTime>

namespace zarven {

namespace {

QString tx(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

QString named(const QString &key, const TextTranslator &tr)
{
    return QStringLiteral("«%1»").arg(fieldLabel(fieldIndex(key), tr));
}

void sensorWarnings(QStringList &out, const ControlAccess &c, const TextTranslator &tr)
{
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const SensorControls s = sensorControls(sensor);
        if (!c.checked(s.enabled))
            continue;
        const auto low = TryStrToInt(c.text(s.lower));
        const auto high = TryStrToInt(c.text(s.upper));
        if (!low || !high || *low < *high)
            continue;
        const QString key = QStringLiteral("sensor%1.").arg(sensor);
        out << tx(tr, QStringLiteral("%1 (%2) не ниже %3 (%4): датчик всегда вне пределов."))
                   .arg(named(key + QLatin1String("min"), tr))
                   .arg(*low)
                   .arg(named(key + QLatin1String("max"), tr))
                   .arg(*high);
    }
}

void outputTimeWarnings(QStringList &out, const ControlAccess &c, const TextTranslator &tr)
{
    static const char *const kSlotKeys[kOutputsPerInput] = {"relay2", "siren", "output2", "relay1"};
    for (int input = 1; input <= kInputs; ++input) {
        if (!c.checked(inputControls(input).active))
            continue;
        const QByteArray block = encodeOutputTimes(c, input);
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const quint16 v = outputTimeValue(block.at(2 * slot), block.at(2 * slot + 1));
            if (v == kNotAssigned || v == kAlwaysOnCode || v <= kLongestOutputSeconds)
                continue;
            const QString key = QStringLiteral("input%1.%2").arg(input).arg(QLatin1String(kSlotKeys[slot]));
            out << tx(tr, QStringLiteral("%1: %2 мин %3 сек, больше 500 минут."))
                       .arg(named(key, tr))
                       .arg(v / 60)
                       .arg(v % 60);
        }
    }
}

void phoneWarnings(QStringList &out, const ControlAccess &c, const TextTranslator &tr)
{
    QStringList numbers;
    for (int k = 1; k <= kPhones; ++k) {
        const QString digits = PhoneDigits(c.text(phoneControl(k)));
        // "7" alone is an empty box (its "+7" and blanks).
        const bool empty = digits == QLatin1String("7");
        numbers << (empty ? QString() : digits);
        if (empty)
            continue;
        const QString name = named(QStringLiteral("phone%1").arg(k), tr);
        if (digits.startsWith(QLatin1Char('8')))
            out << tx(tr, QStringLiteral("%1: номер +%2 начинается с 8 после «+»; за «+7» следуют десять цифр."))
                       .arg(name, digits);
        else if (digits.startsWith(QLatin1Char('7')) && digits.size() != 11)
            out << tx(tr, QStringLiteral("%1: за «+7» следуют %2 цифр вместо десяти."))
                       .arg(name)
                       .arg(digits.size() - 1);
        const qsizetype first = numbers.indexOf(numbers.last());
        if (first < k - 1)
            out << tx(tr, QStringLiteral("%1 повторяет %2: +%3."))
                       .arg(name, named(QStringLiteral("phone%1").arg(first + 1), tr), digits);
    }
}

} // namespace

QStringList writeWarnings(const ControlAccess &controls, const TextTranslator &tr)
{
    QStringList out;
    phoneWarnings(out, controls, tr);
    outputTimeWarnings(out, controls, tr);
    sensorWarnings(out, controls, tr);
    return out;
}

std::optional<qint64> clockOffsetSeconds(const ControlAccess &controls, const QDateTime &now)
{
    const QDate date = imageDate(controls.text(QStringLiteral("Edit_Date")));
    QString timeText = controls.text(QStringLiteral("Edit_time")).trimmed();
    if (timeText.size() >= 2 && timeText.at(1) == QLatin1Char(':'))
        timeText.prepend(QLatin1Char('0'));
    const QTime time = QTime::fromString(timeText, QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return now.secsTo(QDateTime(date, time));
}

std::optional<qint64> staleClockOffset(const ControlAccess &controls, const QDateTime &now)
{
    const auto offset = clockOffsetSeconds(controls, now);
    if (offset && qAbs(*offset) > kClockToleranceSeconds)
        return offset;
    return std::nullopt;
}

QString clockDifferenceText(qint64 seconds, const TextTranslator &tr)
{
    const qint64 minutes = qAbs(seconds) / 60;
    if (minutes < 60)
        return tx(tr, QStringLiteral("%1 мин")).arg(minutes);
    if (minutes < 24 * 60)
        return tx(tr, QStringLiteral("%1 ч %2 мин")).arg(minutes / 60).arg(minutes % 60);
    return tx(tr, QStringLiteral("%1 дн. %2 ч")).arg(minutes / (24 * 60)).arg(minutes / 60 % 24);
}

QString staleClockQuestion(qint64 seconds, const TextTranslator &tr)
{
    return tx(tr, QStringLiteral("Время в окне отличается от часов компьютера на %1. Записать текущее время?"))
        .arg(clockDifferenceText(seconds, tr));
}

} // namespace zarven
