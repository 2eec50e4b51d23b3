#include "settings/settings_comparison.h"

#include "core/cp1251.h"
#include "settings/image_fields.h"

#include <QDateTime>

namespace zarven {

namespace {

// True when the field, or a field it depends on, differs at its gate.
bool gateDiffers(int field, const QList<QByteArray> &window, const QList<QByteArray> &device)
{
    for (int g = imageFields().at(size_t(field)).gate; g >= 0; g = imageFields().at(size_t(g)).gate)
        if (window.at(g) != device.at(g))
            return true;
    return false;
}

int fieldIndex(FieldKind kind)
{
    const auto &fields = imageFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].kind == kind)
            return int(i);
    return -1;
}

// The moment a date and a time field name; invalid when either is no valid
// "dd.mm.yy" or "hh:mm:ss".
QDateTime clockMoment(const QByteArray &date, const QByteArray &time)
{
    const QDate d = QDate::fromString(fromCp1251(date), QStringLiteral("dd.MM.yy"));
    const QTime t = QTime::fromString(fromCp1251(time), QStringLiteral("HH:mm:ss"));
    return d.isValid() && t.isValid() ? QDateTime(d, t, Qt::UTC) : QDateTime();
}

} // namespace

QList<FieldDifference> compareFields(const QList<QByteArray> &window, const QList<QByteArray> &device)
{
    Q_ASSERT(window.size() == qsizetype(imageFields().size()) && device.size() == window.size());
    static const int dateField = fieldIndex(FieldKind::Date);
    static const int timeField = fieldIndex(FieldKind::Time);
    const QDateTime windowClock = clockMoment(window.at(dateField), window.at(timeField));
    const QDateTime deviceClock = clockMoment(device.at(dateField), device.at(timeField));
    const bool clocksAgree = windowClock.isValid() && deviceClock.isValid()
        && qAbs(windowClock.secsTo(deviceClock)) <= kClockTolerance;

    QList<FieldDifference> diffs;
    for (int i = 0; i < window.size(); ++i) {
        if (window.at(i) == device.at(i) || gateDiffers(i, window, device))
            continue;
        if (clocksAgree && (i == dateField || i == timeField))
            continue;
        diffs.append({i, window.at(i), device.at(i)});
    }
    return diffs;
}

QString differenceLine(const FieldDifference &d, const TextTranslator &tr)
{
    const ImageField &f = imageFields().at(size_t(d.field));
    auto value = [&](const QByteArray &bytes) { return fieldValueText(f.kind, bytes, tr); };
    return tr(QStringLiteral("%1 / %2: окно «%3», прибор «%4»"))
        .arg(tr(f.place), tr(f.caption), value(d.window), value(d.device));
}

QString differenceCountLine(qsizetype count, const TextTranslator &tr)
{
    if (count == 0)
        return tr(QStringLiteral("Различий нет"));
    return tr(QStringLiteral("Различий: %1")).arg(count);
}

QStringList differenceReport(const QList<FieldDifference> &diffs, const TextTranslator &tr)
{
    QStringList lines;
    for (const FieldDifference &d : diffs)
        lines << differenceLine(d, tr);
    lines << differenceCountLine(diffs.size(), tr);
    return lines;
}

} // namespace zarven
