#include "provision/site_table.h"

#include "core/cp1251.h"

#include <QStringDecoder>

namespace zarven {

namespace {

// Splits the text into records of fields; a quoted field may span lines.
// Each record keeps the line it started on.
QList<QStringList> splitRecords(const QString &text, QChar sep, QList<int> &lines, QString &error)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool any = false;
    int line = 1;
    int start = 1;
    auto endRecord = [&] {
        fields << field;
        const bool blank = fields.size() == 1 && fields.first().trimmed().isEmpty() && !any;
        if (!blank) {
            records << fields;
            lines << start;
        }
        fields.clear();
        field.clear();
        any = false;
        start = line;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            any = true;
        } else if (c == sep) {
            fields << field;
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\n')) {
            ++line;
            endRecord();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (quoted)
        error = QStringLiteral("line %1: a quoted field is not closed").arg(start);
    if (!field.isEmpty() || !fields.isEmpty())
        endRecord();
    return records;
}

} // namespace

QString SiteTable::value(int row, const QString &name) const
{
    const int c = column(name);
    return c < 0 ? QString() : rows.at(row).at(c);
}

SiteTable parseSiteTable(const QByteArray &content)
{
    SiteTable table;
    QByteArray bytes = content;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    table.utf8 = !utf8.hasError();
    if (!table.utf8)
        text = fromCp1251(bytes);
    const qsizetype headerEnd = text.indexOf(QLatin1Char('\n'));
    const QString headerLine = headerEnd < 0 ? text : text.left(headerEnd);
    table.separator = headerLine.count(QLatin1Char(',')) > headerLine.count(QLatin1Char(';')) ? QLatin1Char(',')
                                                                                               : QLatin1Char(';');
    QList<int> lines;
    QList<QStringList> records = splitRecords(text, table.separator, lines, table.error);
    if (!table.ok())
        return table;
    if (records.isEmpty()) {
        table.error = QStringLiteral("the table is empty: it needs a header row");
        return table;
    }
    for (const QString &name : records.takeFirst())
        table.header << name.trimmed();
    lines.removeFirst();
    for (qsizetype r = 0; r < records.size(); ++r) {
        QStringList row = records.at(r);
        if (row.size() > table.header.size()) {
            const QStringList extra = row.mid(table.header.size());
            bool blank = true;
            for (const QString &f : extra)
                blank = blank && f.trimmed().isEmpty();
            if (!blank) {
                table.error = QStringLiteral("line %1: %2 fields, the header has %3")
                                  .arg(lines.at(r))
                                  .arg(row.size())
                                  .arg(table.header.size());
                return table;
            }
            row = row.mid(0, table.header.size());
        }
        while (row.size() < table.header.size())
            row << QString();
        table.rows << row;
        table.lines << lines.at(r);
    }
    return table;
}

QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray siteTableContent(const SiteTable &table)
{
    QString text;
    auto line = [&](const QStringList &fields) {
        QStringList out;
        for (const QString &f : fields)
            out << csvField(f, table.separator);
        text += out.join(table.separator) + QStringLiteral("\r\n");
    };
    line(table.header);
    for (const QStringList &row : table.rows)
        line(row);
    return table.utf8 ? text.toUtf8() : toCp1251(text);
}

} // namespace zarven
