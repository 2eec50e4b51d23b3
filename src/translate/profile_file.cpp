#include "translate/profile_file.h"

#include "core/cp1251.h"
#include "core/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <stdexcept>

namespace zarven {

namespace {

// One line of the file as bytes: its content and its own line end, so that a
// line we do not change is written back exactly as it was read.
struct Line {
    QByteArray content;
    QByteArray ending; // "\r\n", "\n", or empty for a last line without one
};

QList<Line> splitLines(const QByteArray &bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        Line line;
        if (lf < 0) {
            line.content = bytes.mid(start);
            start = bytes.size();
        } else {
            line.content = bytes.mid(start, lf - start);
            line.ending = QByteArrayLiteral("\n");
            start = lf + 1;
        }
        if (line.content.endsWith('\r') && !line.ending.isEmpty()) {
            line.content.chop(1);
            line.ending = QByteArrayLiteral("\r\n");
        }
        lines.append(line);
    }
    return lines;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool isQuoted(const QString &value)
{
    return value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'));
}

struct ParsedLine {
    enum Kind { Blank, Other, Section, Entry } kind = Blank;
    QString name;  // section name or key
    QString value; // entry value, quotation marks removed, not cut
};

ParsedLine parseLine(const QByteArray &content)
{
    ParsedLine parsed;
    const QString text = fromCp1251(content);
    const QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty())
        return parsed;
    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        parsed.kind = ParsedLine::Section;
        parsed.name = trimBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1));
        return parsed;
    }
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0) {
        parsed.kind = ParsedLine::Other;
        return parsed;
    }
    parsed.kind = ParsedLine::Entry;
    parsed.name = trimBlanks(text.left(eq));
    parsed.value = trimBlanks(text.mid(eq + 1));
    if (isQuoted(parsed.value))
        parsed.value = parsed.value.mid(1, parsed.value.size() - 2);
    return parsed;
}

// Where a section and one of its entries sit in the file's lines; -1 when
// missing.
struct Position {
    qsizetype section = -1;
    qsizetype entry = -1;
    qsizetype lastFilled = -1; // the section's last line that is not blank
    QString entryValue;
};

Position locate(const QList<Line> &lines, const QString &section, const QString &key)
{
    Position pos;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(lines[i].content);
        if (parsed.kind == ParsedLine::Section) {
            if (pos.section >= 0)
                break; // the first section of that name is the one that counts
            if (sameName(parsed.name, section)) {
                pos.section = i;
                pos.lastFilled = i;
            }
            continue;
        }
        if (pos.section < 0)
            continue;
        if (parsed.kind != ParsedLine::Blank)
            pos.lastFilled = i;
        if (parsed.kind == ParsedLine::Entry && pos.entry < 0 && sameName(parsed.name, key)) {
            pos.entry = i;
            pos.entryValue = parsed.value;
        }
    }
    return pos;
}

// A value with blanks at its ends, or one that is itself enclosed in
// quotation marks, is written inside quotation marks so that it reads back
// unchanged.
QString storedValue(const QString &value)
{
    const bool needsQuotes = isQuoted(value)
        || (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
    return needsQuotes ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

// Gives a line that has none the line end eol. A line that ends in a lone CR
// gets CR LF instead of LF alone, which would join that CR to the line end
// and change the line as it reads.
void endLine(Line &line, const QByteArray &eol)
{
    if (line.ending.isEmpty())
        line.ending = line.content.endsWith('\r') ? QByteArrayLiteral("\r\n") : eol;
}

QByteArray serialize(const QList<Line> &lines)
{
    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.content + line.ending;
    return bytes;
}

} // namespace

bool ProfileFile::exists() const
{
    return QFileInfo(path_).isFile();
}

bool ProfileFile::canHoldKey(const QString &key)
{
    const QString trimmed = trimBlanks(key);
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('[')))
        return false;
    for (const QChar c : key) {
        if (c == QLatin1Char('=') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            return false;
    }
    return fromCp1251(toCp1251(key)) == key;
}

bool ProfileFile::canHoldSection(const QString &section)
{
    return canHoldKey(section) && !section.contains(QLatin1Char(']'));
}

QString ProfileFile::readString(const QString &section, const QString &key) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readFrom(file.readAll(), section, key);
}

QString ProfileFile::readFrom(const QByteArray &content, const QString &section, const QString &key)
{
    const Position pos = locate(splitLines(content), trimBlanks(section), trimBlanks(key));
    if (pos.entry < 0)
        return {};
    return pos.entryValue.left(kMaxValueLength);
}

QList<QPair<QString, QString>> ProfileFile::readSection(const QString &section) const
{
    QList<QPair<QString, QString>> entries;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QString wanted = trimBlanks(section);
    bool inside = false;
    for (const Line &line : splitLines(file.readAll())) {
        const ParsedLine parsed = parseLine(line.content);
        if (parsed.kind == ParsedLine::Section) {
            if (inside)
                break; // the first section of that name is the one that counts
            inside = sameName(parsed.name, wanted);
        } else if (inside && parsed.kind == ParsedLine::Entry) {
            entries.append({parsed.name, parsed.value.left(kMaxValueLength)});
        }
    }
    return entries;
}

std::optional<QByteArray> ProfileFile::withEntry(const QByteArray &content, const QString &section,
                                                 const QString &key, const QString &value)
{
    if (!canHoldKey(key) || !canHoldSection(section))
        throw std::invalid_argument("profile file: a key or section name that cannot be written as one line");
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        throw std::invalid_argument("profile file: a value with a line break");

    QList<Line> lines = splitLines(content);
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    const Position pos = locate(lines, wantedSection, wantedKey);
    if (pos.entry >= 0 && pos.entryValue == value)
        return std::nullopt;

    // New lines take the file's own line end; a new file gets CR LF, which
    // the dictionaries made on Windows use.
    QByteArray eol = QByteArrayLiteral("\r\n");
    for (const Line &line : lines) {
        if (!line.ending.isEmpty()) {
            eol = line.ending;
            break;
        }
    }
    const QByteArray entry = toCp1251(wantedKey + QLatin1Char('=') + storedValue(value));

    if (pos.entry >= 0) {
        lines[pos.entry].content = entry;
    } else if (pos.section >= 0) {
        endLine(lines[pos.lastFilled], eol);
        lines.insert(pos.lastFilled + 1, Line{entry, eol});
    } else {
        if (!lines.isEmpty())
            endLine(lines.last(), eol);
        lines.append(Line{toCp1251(QLatin1Char('[') + wantedSection + QLatin1Char(']')), eol});
        lines.append(Line{entry, eol});
    }
    return serialize(lines);
}

void ProfileFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    const QString unableToWrite = QStringLiteral("Unable to write to ") + path_;
    QByteArray original;
    const bool existed = exists();
    if (existed) {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly))
            throw FileError(unableToWrite);
        original = file.readAll();
    }
    const std::optional<QByteArray> bytes = withEntry(original, section, key, value);
    if (!bytes)
        return;

    // A file marked read-only is left alone even where the account could
    // write it anyway (an administrator): the mark means "do not change".
    const QFileInfo info(path_);
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (existed && (!info.isWritable() || !(info.permissions() & anyWrite)))
        throw FileError(unableToWrite);

    QSaveFile out(path_);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        throw FileError(unableToWrite);
    if (out.write(*bytes) != bytes->size()) {
        out.cancelWriting();
        throw FileError(unableToWrite);
    }
    if (!out.commit())
        throw FileError(unableToWrite);
}

} // namespace zarven
