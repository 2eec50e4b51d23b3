#pragma once
// The report of a series: one CSV row per unit tried, appended as each unit
// ends, so that a series cut short keeps what was done. UTF-8, ";" between
// fields, a header row first. --resume reads it back for the sites already
// done.

#include <QDateTime>
#include <QSet>
#include <QString>

namespace zarven {

namespace series_result {
inline constexpr char kOk[] = "ok";
inline constexpr char kRefused[] = "refused";
inline constexpr char kFailed[] = "failed";
} // namespace series_result

struct SeriesReportRow {
    QDateTime time;
    QString site;
    QString port;
    QString adapter; // the adapter's serial number, or its label
    QString version; // the controller's version text
    QString result;  // series_result
    QString reason;  // why, for refused and failed units (Russian)
    int fieldsChanged = -1; // -1: the controller's settings were not read
    qint64 journalEntry = 0; // the entry of the write, 0: none
    qint64 unitMs = -1; // from the identification to the end of the unit
};

// The header row's names.
QString seriesReportHeader();

// Appends the row (and the header to a new or empty file); false with the
// reason when the file cannot be written.
bool appendReportRow(const QString &path, const SeriesReportRow &row, QString *error);

// The sites whose last row in the report is ok; empty for a missing file.
QSet<QString> sitesDone(const QString &path);

} // namespace zarven
