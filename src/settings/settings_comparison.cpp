#include "settings/settings_comparison.h"

#include "core/cp1251.h"
#include "settings/image_bytes.h"
#include "settings/image_fields.h"
#include "settings/stored_fields.h"

#include <QDateTime>

namespace zarven {

namespace {

// True when the field, or a field it depends on, differs at its gate.
bool gateDiffers(int field, const FieldValues &window, const FieldValues &device)
{
    for (int g = imageFields().at(size_t(field)).gate; g >= 0; g = imageFields().at(size_t(g)).gate)
        if (window.at(g) != device.at(g))
            return true;
    return false;
}

// The moment a date and a time field name; invalid when either is missing
// or no valid "dd.mm.yy" or "hh:mm:ss".
QDateTime clockMoment(const std::optional<QByteArray> &date, const std::optional<QByteArray> &time)
{
    if (!date || !time)
        return {};
    const QDate d = imageDate(fromCp1251(*date));
    const QTime t = QTime::fromString(fromCp1251(*time), QStringLiteral("HH:mm:ss"));
    return d.isValid() && t.isValid() ? QDateTime(d, t, Qt::UTC) : QDateTime();
}

QString translated(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

} // namespace

Comparison compareFields(const FieldValues &window, const FieldValues &device)
{
    Q_ASSERT(window.size() == qsizetype(imageFields().size()) && device.size() == window.size());
    static const int dateField = fieldIndex(u"date");
    static const int timeField = fieldIndex(u"time");
    const QDateTime windowClock = clockMoment(window.at(dateField), window.at(timeField));
    const QDateTime deviceClock = clockMoment(device.at(dateField), device.at(timeField));
    const bool clocksAgree = windowClock.isValid() && deviceClock.isValid()
        && qAbs(windowClock.secsTo(deviceClock)) <= kClockTolerance;

    Comparison c;
    c.fields = int(window.size());
    for (int i = 0; i < window.size(); ++i) {
        if (window.at(i) == device.at(i) || gateDiffers(i, window, device))
            continue;
        if (clocksAgree && (i == dateField || i == timeField)) {
            c.clockTolerated = true;
            continue;
        }
        c.differences.append({i, window.at(i), device.at(i)});
    }
    return c;
}

Comparison compareImages(const QByteArray &written, const QByteArray &stored)
{
    return compareFields(storedFields(written).values, storedFields(stored).values);
}

QString differenceValue(const FieldDifference &d, const std::optional<QByteArray> &bytes, const TextTranslator &tr)
{
    if (!bytes)
        return translated(tr, QStringLiteral("нет данных"));
    return fieldValueText(imageFields().at(size_t(d.field)).kind, *bytes, tr);
}

QString differenceLine(const FieldDifference &d, const TextTranslator &tr)
{
    const ImageField &f = imageFields().at(size_t(d.field));
    return translated(tr, QStringLiteral("%1 / %2: окно «%3», прибор «%4»"))
        .arg(translated(tr, f.place), translated(tr, f.caption), differenceValue(d, d.window, tr),
             differenceValue(d, d.device, tr));
}

QStringList differenceSummary(const Comparison &c, const TextTranslator &tr)
{
    if (!c.differences.isEmpty())
        return {translated(tr, QStringLiteral("Различий: %1")).arg(c.differences.size())};
    const QString why = c.clockTolerated
        ? translated(tr, QStringLiteral("все %1 полей совпадают, часы прибора — в пределах %2 с")).arg(c.fields).arg(kClockTolerance)
        : translated(tr, QStringLiteral("все %1 полей совпадают")).arg(c.fields);
    return {translated(tr, QStringLiteral("Различий нет")), why};
}

QStringList differenceReport(const Comparison &c, const TextTranslator &tr)
{
    QStringList lines;
    for (const FieldDifference &d : c.differences)
        lines << differenceLine(d, tr);
    return lines + differenceSummary(c, tr);
}

} // namespace zarven
