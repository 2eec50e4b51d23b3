#include "keys/key_file.h"

#include "config_file/config_lines.h"
#include "core/cp1251.h"
#include "core/strings.h"

#include <optional>

namespace zarven {

namespace {

const QByteArray kLineEnd("\r\n");

QByteArray fileText(const QString &text)
{
    QByteArray bytes = toCp1251(text);
    for (char &c : bytes)
        if (c == '\n' || c == '\r' || c == '\x1A')
            c = ' ';
    return bytes;
}

// The key number of a "#" line: its second and third characters read by the
// integer text conversion (leading blanks and a sign allowed, nothing after
// the number); nothing when they do not convert.
std::optional<int> blockNumber(const QByteArray &line)
{
    return TryStrToInt(fromCp1251(line.mid(1, 2)));
}

} // namespace

QByteArray keyFileContent(const KeyRows &rows)
{
    QByteArray out;
    for (int n = 1; n <= kKeyRowCount; ++n) {
        const KeyRow &row = rows[n - 1];
        out += '#' + QByteArray::number(n) + kLineEnd;
        out += fileText(row.description) + kLineEnd;
        out += fileText(row.code) + kLineEnd;
        out += '/' + QByteArray::number(n) + kLineEnd;
    }
    return out;
}

KeyFileLoad loadKeyFile(const QByteArray &content, KeyRows &rows)
{
    ConfigLineReader reader(content);
    int lineNo = 0;
    while (!reader.atEnd()) {
        const QByteArray line = reader.readLine();
        ++lineNo;
        if (line.isEmpty())
            return {false, lineNo};
        if (line[0] != '#')
            continue;
        const std::optional<int> number = blockNumber(line);
        if (!number)
            return {false, lineNo};
        const int n = *number;
        if (n < 1 || n > kKeyRowCount)
            continue;
        rows[n - 1].description = fromCp1251(reader.readLine());
        rows[n - 1].code = fromCp1251(reader.readLine());
        lineNo += 2;
    }
    return {};
}

QString keyFileName(const QString &chosen)
{
    if (chosen.endsWith(QLatin1String(".key"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".key");
}

} // namespace zarven
