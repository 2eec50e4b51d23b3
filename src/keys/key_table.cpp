#include "keys/key_table.h"

#include "core/cp1251.h"
#include "core/errors.h"
#include "core/strings.h"

namespace zarven {

namespace {

const QByteArray kStopMarker("\xFF\xFE", 2);

QByteArray trimLowBytes(const QByteArray &field)
{
    qsizetype from = 0;
    qsizetype to = field.size();
    while (from < to && quint8(field[from]) <= 0x20)
        ++from;
    while (to > from && quint8(field[to - 1]) <= 0x20)
        --to;
    return field.mid(from, to - from);
}

// Trims the characters up to U+0020 (blanks and control characters).
QString trimControls(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from].unicode() <= 0x20)
        ++from;
    while (to > from && text[to - 1].unicode() <= 0x20)
        --to;
    return text.mid(from, to - from);
}

QString trimSpaces(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

bool isUpperHex(const QString &text)
{
    for (QChar c : text)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
            return false;
    return true;
}

bool converts(const QString &code)
{
    try {
        HexToBytes(code);
        return true;
    } catch (const ConversionError &) {
        return false;
    }
}

} // namespace

int parseKeyTable(const QByteArray &payload, KeyRows &rows)
{
    int used = 0;
    int row = 0;
    for (qsizetype at = 0; row < kKeyRowCount; at += kKeyRecordBytes, ++row) {
        if (at + kKeyDescriptionBytes > payload.size())
            break;
        rows[row].description = fromCp1251(trimLowBytes(payload.mid(at, kKeyDescriptionBytes)));
        used += kKeyDescriptionBytes;
        if (at + kKeyRecordBytes > payload.size())
            break;
        rows[row].code = BytesToHex(payload.mid(at + kKeyDescriptionBytes, kKeyCodeBytes));
        used += kKeyCodeBytes;
    }
    return used;
}

QString keyCodeText(const QByteArray &payload)
{
    return trimSpaces(BytesToHex(payload.left(kKeyCodeBytes)));
}

std::optional<KeyTableFault> checkKeyTable(const KeyRows &rows)
{
    for (int r = 0; r < kKeyRowCount; ++r) {
        const QString code = trimSpaces(rows[r].code);
        const bool described = !trimSpaces(rows[r].description).isEmpty();
        if (described ? !isUpperHex(code) : !converts(code))
            return KeyTableFault{KeyTableFault::BadCode, r + 1};
    }
    const qsizetype at = keyTableRecords(rows).indexOf(kStopMarker);
    if (at >= 0) {
        const int row = int(at / kKeyRecordBytes) + 1;
        const bool spansTwo = at % kKeyRecordBytes == kKeyRecordBytes - 1;
        return KeyTableFault{KeyTableFault::StopMarker, row, spansTwo ? row + 1 : 0};
    }
    return std::nullopt;
}

bool wellFormedKeyCode(const QString &code)
{
    return code.size() == 2 * kKeyCodeBytes && isUpperHex(code);
}

QString keyCodeFault(const KeyRows &rows, int row)
{
    const QString code = rows[row - 1].code;
    if (code.isEmpty())
        return {};
    if (!wellFormedKeyCode(code))
        return QStringLiteral("код ключа - это 16 шестнадцатеричных цифр 0-9, A-F");
    for (int other = 1; other <= kKeyRowCount; ++other)
        if (other != row && rows[other - 1].code == code)
            return QStringLiteral("этот код уже в строке %1").arg(other);
    return {};
}

QList<int> malformedCodeRows(const KeyRows &rows)
{
    QList<int> out;
    for (int row = 1; row <= kKeyRowCount; ++row)
        if (!rows[row - 1].code.isEmpty() && !wellFormedKeyCode(rows[row - 1].code))
            out << row;
    return out;
}

QByteArray keyTableRecords(const KeyRows &rows)
{
    QByteArray records;
    records.reserve(kKeyTableBytes);
    for (const KeyRow &row : rows) {
        const QByteArray description = toCp1251(trimControls(row.description.left(16)));
        records += description + QByteArray(kKeyDescriptionBytes - description.size(), '\0');
        const QByteArray code = HexToBytes(trimSpaces(row.code)).left(kKeyCodeBytes);
        records += code + QByteArray(kKeyCodeBytes - code.size(), '\0');
    }
    return records;
}

QByteArray keyTableStream(const KeyRows &rows, const QByteArray &start, const QByteArray &stop)
{
    return start + keyTableRecords(rows) + stop;
}

} // namespace zarven
