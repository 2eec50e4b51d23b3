#pragma once
// The table of sites of a series: a header row, then one row per site, each
// field separated by ";" or "," (whichever the header uses more of), in
// UTF-8 or code page 1251 (UTF-8 when the bytes are valid UTF-8). A field
// may be quoted with '"', a quote inside doubled; blank lines are passed
// over. The table is written back in the encoding and with the separator it
// was read with.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zarven {

struct SiteTable {
    QStringList header;
    QList<QStringList> rows; // each as long as the header
    QList<int> lines;        // the file line of each row, from 1
    QChar separator = QLatin1Char(';');
    bool utf8 = true;
    QString error; // why the file is no table; empty when it is

    bool ok() const { return error.isEmpty(); }
    // The column of a header name, -1 when there is none.
    int column(const QString &name) const { return int(header.indexOf(name)); }
    QString value(int row, const QString &name) const;
};

SiteTable parseSiteTable(const QByteArray &content);
QByteArray siteTableContent(const SiteTable &table);

// One field of a CSV line: quoted when it holds the separator, a quote or a
// line break.
QString csvField(const QString &text, QChar separator);

} // namespace zarven
