#include "provision/site_values.h"

#include "core/cp1251.h"
#include "keys/key_file.h"
#include "keys/key_table.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/write_image.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>

namespace zarven {

namespace {

constexpr int kLongestMessage = 25;
constexpr int kLongestPhone = 14; // the phone box: "+" and fourteen digits
constexpr int kMostMinutes = 1090;

QString translated(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

ParsedValue fail(const QString &reason)
{
    return {std::nullopt, reason, {}};
}

ParsedValue number(int n)
{
    SiteValue v;
    v.number = n;
    return {v, {}, {}};
}

ParsedValue text(const QString &t)
{
    SiteValue v;
    v.text = t;
    return {v, {}, {}};
}

ParsedValue listEntry(FieldKind kind, const QString &cell)
{
    const QStringList entries = fieldEntries(kind);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries.at(i).compare(cell, Qt::CaseInsensitive) == 0)
            return number(int(i));
    if (const auto n = wholeNumber(cell, 1, int(entries.size())))
        return number(*n - 1);
    ParsedValue v = fail(QStringLiteral("нет такого пункта списка; возможны: %1 или номер от 1 до %2"));
    v.errorArgs = {entries.join(QStringLiteral(", ")), QString::number(entries.size())};
    return v;
}

ParsedValue outputTime(const QString &cell)
{
    SiteValue v;
    const QString c = cell.toLower();
    if (c == QStringLiteral("нет") || c == QStringLiteral("no") || c == QStringLiteral("0"))
        return {v, {}, {}};
    if (c == QStringLiteral("всегда") || c == QStringLiteral("вкл. всегда") || c == QStringLiteral("always")) {
        v.time = SiteValue::Time::AlwaysOn;
        return {v, {}, {}};
    }
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4}):(\\d\\d)$"));
    const QRegularExpressionMatch m = pattern.match(cell);
    if (m.hasMatch()) {
        v.time = SiteValue::Time::Timed;
        v.minutes = m.captured(1).toInt();
        v.seconds = m.captured(2).toInt();
        if (v.minutes <= kMostMinutes && v.seconds <= 59 && v.minutes + v.seconds > 0)
            return {v, {}, {}};
    }
    return fail(QStringLiteral("время выхода: нет, всегда или м:сс (от 0:01 до 1090:59)"));
}

// The depth of a field's gates: an input's "Активировать" 0, its message 1,
// a sensor's economy (gated by keeping, gated by the enable) 2.
int gateDepth(int field)
{
    int depth = 0;
    for (int g = imageFields().at(size_t(field)).gate; g >= 0; g = imageFields().at(size_t(g)).gate)
        ++depth;
    return depth;
}

QString controlColumn(const QString &control)
{
    const int field = fieldOfControl(control);
    return field < 0 ? control : imageFields().at(size_t(field)).key;
}

} // namespace

QStringList siteColumns()
{
    QStringList columns{QLatin1String(kSiteColumn)};
    for (const ImageField &f : imageFields())
        columns << f.key;
    columns << QLatin1String(kKeysColumn);
    return columns;
}

QStringList siteColumnLines(const TextTranslator &tr)
{
    auto takes = [&tr](FieldKind kind) -> QString {
        switch (kind) {
        case FieldKind::Flag:
            return QStringLiteral("1/0, да/нет");
        case FieldKind::Text:
            return translated(tr, QStringLiteral("текст до 25 знаков"));
        case FieldKind::OutputTime:
            return translated(tr, QStringLiteral("нет, всегда или м:сс"));
        case FieldKind::Temperature:
            return QStringLiteral("-55 … 125");
        case FieldKind::Phone:
            return QStringLiteral("+79161234567");
        case FieldKind::Date:
            return QStringLiteral("dd.mm.yy");
        case FieldKind::Time:
            return QStringLiteral("hh:mm:ss");
        case FieldKind::Seconds:
            return QStringLiteral("0 … 250");
        default: {
            QStringList entries;
            const QStringList list = fieldEntries(kind);
            for (qsizetype i = 0; i < list.size(); ++i)
                entries << QStringLiteral("%1 %2").arg(i + 1).arg(translated(tr, list.at(i)));
            return entries.join(QStringLiteral(" | "));
        }
        }
    };
    QStringList lines;
    lines << QStringLiteral("%1%2").arg(QString::fromLatin1(kSiteColumn).leftJustified(22),
                                        translated(tr, QStringLiteral("название объекта (обязательно)")));
    for (size_t i = 0; i < imageFields().size(); ++i) {
        const ImageField &f = imageFields().at(i);
        lines << QStringLiteral("%1%2: %3").arg(f.key.leftJustified(22), fieldLabel(int(i), tr), takes(f.kind));
    }
    lines << QStringLiteral("%1%2").arg(QString::fromLatin1(kKeysColumn).leftJustified(22),
                                        translated(tr, QStringLiteral("файл ключей объекта (*.key)")));
    return lines;
}

ParsedValue parseSiteValue(FieldKind kind, const QString &rawCell)
{
    const QString cell = rawCell.trimmed();
    switch (kind) {
    case FieldKind::Flag: {
        const QString c = cell.toLower();
        if (c == QStringLiteral("1") || c == QStringLiteral("да") || c == QStringLiteral("yes"))
            return number(1);
        if (c == QStringLiteral("0") || c == QStringLiteral("нет") || c == QStringLiteral("no"))
            return number(0);
        return fail(QStringLiteral("флажок: 1 или 0, да или нет"));
    }
    case FieldKind::Text:
        if (rawCell.size() > kLongestMessage)
            return fail(QStringLiteral("сообщение длиннее 25 знаков"));
        if (fromCp1251(toCp1251(rawCell)) != rawCell || rawCell.contains(QLatin1Char('\r')))
            return fail(QStringLiteral("в сообщении есть знаки, которых нет в кодировке прибора"));
        return text(rawCell);
    case FieldKind::OutputTime:
        return outputTime(cell);
    case FieldKind::Temperature:
        if (const auto n = wholeNumber(cell, -55, 125))
            return number(*n);
        return fail(QStringLiteral("температура: целое число от -55 до 125"));
    case FieldKind::Seconds:
        if (const auto n = wholeNumber(cell, 0, 250))
            return number(*n);
        return fail(QStringLiteral("задержка: целое число секунд от 0 до 250"));
    case FieldKind::Phone: {
        const QString digits = cell.startsWith(QLatin1Char('+')) ? cell.mid(1) : cell;
        static const QRegularExpression pattern(QStringLiteral("^\\d{1,14}$"));
        if (!pattern.match(digits).hasMatch())
            return fail(QStringLiteral("номер: от 1 до 14 цифр, можно с + впереди"));
        return text(QLatin1Char('+') + digits);
    }
    case FieldKind::Date:
        if (cell.size() != 8 || !imageDate(cell).isValid())
            return fail(QStringLiteral("дата: дд.мм.гг"));
        return text(cell);
    case FieldKind::Time:
        if (cell.size() != 8 || !QTime::fromString(cell, QStringLiteral("HH:mm:ss")).isValid())
            return fail(QStringLiteral("время: чч:мм:сс"));
        return text(cell);
    case FieldKind::InputType:
    case FieldKind::KeepingOutput:
    case FieldKind::ArmingLevel:
    case FieldKind::OutputAtArming:
    case FieldKind::ArmingStateOutput:
        return listEntry(kind, cell);
    }
    return fail(QStringLiteral("поле не принимает значений из таблицы"));
}

void applySiteValue(ControlAccess &c, int field, const SiteValue &v)
{
    const ImageField &f = imageFields().at(size_t(field));
    const QString &control = f.controls.first();
    switch (f.kind) {
    case FieldKind::Flag:
        c.setChecked(control, v.number != 0);
        return;
    case FieldKind::Text:
    case FieldKind::Phone:
    case FieldKind::Date:
    case FieldKind::Time:
        c.setText(control, v.text);
        return;
    case FieldKind::Temperature:
    case FieldKind::Seconds:
        c.setText(control, QString::number(v.number));
        return;
    case FieldKind::OutputTime: {
        // The controls of one output row: assignment, always on, minutes,
        // seconds; the input's hidden use-outputs box follows an assigned
        // row as a read sets it.
        const QString &assignment = f.controls.at(0);
        const QString &alwaysOn = f.controls.at(1);
        const bool assigned = v.time != SiteValue::Time::NotAssigned;
        if (assigned) {
            const int input = f.key.mid(5, 1).toInt();
            c.setChecked(inputControls(input).useOutputs, true);
        }
        c.setChecked(assignment, assigned);
        c.setChecked(alwaysOn, v.time == SiteValue::Time::AlwaysOn);
        if (v.time == SiteValue::Time::Timed) {
            c.setText(f.controls.at(2), QString::number(v.minutes));
            c.setText(f.controls.at(3), QString::number(v.seconds));
        }
        return;
    }
    default:
        c.setIndex(control, v.number);
        return;
    }
}

QString TableProblem::text(const TextTranslator &tr) const
{
    const QString where = column.isEmpty()
        ? translated(tr, QStringLiteral("Строка %1")).arg(line)
        : translated(tr, QStringLiteral("Строка %1, столбец «%2»")).arg(line).arg(column);
    QString why = shown ? reason : translated(tr, reason);
    for (const QString &a : args)
        why = why.arg(a);
    return where + QStringLiteral(": ") + why;
}

QList<TableProblem> checkSiteTable(const SiteTable &table, const QString &folder)
{
    QList<TableProblem> problems;
    const QStringList known = siteColumns();
    for (qsizetype c = 0; c < table.header.size(); ++c) {
        const QString &name = table.header.at(c);
        if (!known.contains(name))
            problems << TableProblem{1, name, QStringLiteral("нет такого столбца (список: provision --columns)"), {}, false};
        else if (table.header.indexOf(name) != c)
            problems << TableProblem{1, name, QStringLiteral("столбец повторяется"), {}, false};
    }
    if (table.column(QLatin1String(kSiteColumn)) < 0)
        problems << TableProblem{1, QLatin1String(kSiteColumn), QStringLiteral("нет столбца с названием объекта"), {}, false};
    if (table.rows.isEmpty())
        problems << TableProblem{1, {}, QStringLiteral("в таблице нет ни одного объекта"), {}, false};
    if (!problems.isEmpty())
        return problems;
    QStringList sites;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const int line = table.lines.at(r);
        const QString site = table.value(int(r), QLatin1String(kSiteColumn)).trimmed();
        if (site.isEmpty())
            problems << TableProblem{line, QLatin1String(kSiteColumn), QStringLiteral("не указано название объекта"), {}, false};
        else if (sites.contains(site))
            problems << TableProblem{line, QLatin1String(kSiteColumn), QStringLiteral("объект уже есть в таблице"), {}, false};
        sites << site;
        for (qsizetype c = 0; c < table.header.size(); ++c) {
            const int field = fieldIndex(table.header.at(c));
            const QString &cell = table.rows.at(r).at(c);
            if (field < 0 || cell.trimmed().isEmpty())
                continue;
            const ParsedValue parsed = parseSiteValue(imageFields().at(size_t(field)).kind, cell);
            if (!parsed.value)
                problems << TableProblem{line, table.header.at(c), parsed.error, parsed.errorArgs, false};
        }
        const QString keyFile = siteKeyFile(table, int(r), folder);
        if (!keyFile.isEmpty()) {
            QFile f(keyFile);
            KeyRows rows{};
            if (!f.open(QIODevice::ReadOnly))
                problems << TableProblem{line, QLatin1String(kKeysColumn), QStringLiteral("файл ключей не читается"), {}, false};
            else if (!loadKeyFile(f.readAll(), rows).ok || checkKeyTable(rows))
                problems << TableProblem{line, QLatin1String(kKeysColumn),
                                         QStringLiteral("файл ключей не годится для записи в прибор"), {}, false};
        }
    }
    return problems;
}

void applySiteRow(ControlAccess &controls, const SiteTable &table, int row)
{
    QList<int> columns;
    for (qsizetype c = 0; c < table.header.size(); ++c)
        if (fieldIndex(table.header.at(c)) >= 0 && !table.rows.at(row).at(c).trimmed().isEmpty())
            columns << int(c);
    std::stable_sort(columns.begin(), columns.end(), [&table](int a, int b) {
        return gateDepth(fieldIndex(table.header.at(a))) < gateDepth(fieldIndex(table.header.at(b)));
    });
    for (int c : columns) {
        const int field = fieldIndex(table.header.at(c));
        const ParsedValue parsed = parseSiteValue(imageFields().at(size_t(field)).kind, table.rows.at(row).at(c));
        if (parsed.value)
            applySiteValue(controls, field, *parsed.value);
    }
}

QList<TableProblem> writeRefusals(const ControlAccess &controls, const SharedValues &shared, int line,
                                  const TextTranslator &tr)
{
    QList<TableProblem> problems;
    for (int input : inputsWithoutMessage(controls))
        problems << TableProblem{line, QStringLiteral("input%1.message").arg(input),
                                 QStringLiteral("вход включён, а текст сообщения не введён"), {}, false};
    const WriteImage image = encodeWriteImage(controls, shared);
    if (image.refused()) {
        QStringList columns;
        for (const QString &control : image.controls)
            if (!columns.contains(controlColumn(control)))
                columns << controlColumn(control);
        problems << TableProblem{line, columns.join(QStringLiteral(", ")), writeRefusalText(image, tr), {}, true};
    }
    return problems;
}

QString siteKeyFile(const SiteTable &table, int row, const QString &folder)
{
    const QString name = table.value(row, QLatin1String(kKeysColumn)).trimmed();
    if (name.isEmpty())
        return {};
    return QDir(folder).absoluteFilePath(name);
}

} // namespace zarven
