#include "provision/series_report.h"

#include "provision/site_table.h"

#include <QFile>
#include <QFileInfo>

namespace zarven {

namespace {

constexpr char kSeparator = ';';

QStringList headerNames()
{
    return {QStringLiteral("time"),    QStringLiteral("site"),   QStringLiteral("port"),
            QStringLiteral("adapter"), QStringLiteral("version"), QStringLiteral("result"),
            QStringLiteral("reason"),  QStringLiteral("fields_changed"), QStringLiteral("journal_entry"),
            QStringLiteral("unit_ms")};
}

} // namespace

QString seriesReportHeader()
{
    return headerNames().join(QLatin1Char(kSeparator));
}

bool appendReportRow(const QString &path, const SeriesReportRow &row, QString *error)
{
    QFile f(path);
    const bool fresh = !QFileInfo(path).exists() || QFileInfo(path).size() == 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = f.errorString();
        return false;
    }
    QStringList fields{row.time.toString(Qt::ISODate),
                       row.site,
                       row.port,
                       row.adapter,
                       row.version,
                       row.result,
                       row.reason,
                       row.fieldsChanged < 0 ? QString() : QString::number(row.fieldsChanged),
                       row.journalEntry > 0 ? QString::number(row.journalEntry) : QString(),
                       row.unitMs < 0 ? QString() : QString::number(row.unitMs)};
    for (QString &field : fields)
        field = csvField(field, QLatin1Char(kSeparator));
    QByteArray bytes;
    if (fresh)
        bytes += seriesReportHeader().toUtf8() + "\r\n";
    bytes += fields.join(QLatin1Char(kSeparator)).toUtf8() + "\r\n";
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

QSet<QString> sitesDone(const QString &path)
{
    QFile f(path);
    QSet<QString> done;
    if (!f.open(QIODevice::ReadOnly))
        return done;
    const SiteTable report = parseSiteTable(f.readAll());
    if (!report.ok())
        return done;
    // The last row of a site says how it stands.
    for (int r = 0; r < report.rows.size(); ++r) {
        const QString site = report.value(r, QStringLiteral("site"));
        if (report.value(r, QStringLiteral("result")) == QLatin1String(series_result::kOk))
            done.insert(site);
        else
            done.remove(site);
    }
    return done;
}

} // namespace zarven
