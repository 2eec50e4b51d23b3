#pragma once
// The controller's key table as the tool handles it: ten rows of a
// description and a key code (the texts of the key grid), the table reply to
// "Cn" cut into them, and the key table stream written after "Wr".
//
// On the wire a key is a 25-byte record: a 17-byte description (code page
// 1251 text padded with 00 hex; at most 16 characters are written, so at
// least one 00 hex ends it) and the 8 bytes of the key code, first byte
// first. The grid shows a code as 16 upper-case hexadecimal digits.
//
// These are plain functions over byte strings and texts: no window, no port.

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace zarven {

constexpr int kKeyRowCount = 10;
constexpr int kKeyDescriptionBytes = 17;
constexpr int kKeyCodeBytes = 8;
constexpr int kKeyRecordBytes = kKeyDescriptionBytes + kKeyCodeBytes;
constexpr int kKeyTableBytes = kKeyRecordBytes * kKeyRowCount;

struct KeyRow {
    QString description;
    QString code;
    bool operator==(const KeyRow &) const = default;
};
using KeyRows = std::array<KeyRow, kKeyRowCount>;

// Cuts a table reply into the rows from row 1 on: every 17 bytes give a
// description (bytes up to 20 hex trimmed at both ends), the 8 after them a
// code (BytesToHex). A trailing part shorter than its field is ignored, and
// so is everything after the tenth record; rows the reply does not reach
// keep their texts. Returns how many bytes went into fields (250 for a
// whole table).
int parseKeyTable(const QByteArray &payload, KeyRows &rows);

// The grid text of a key code reply: its first 8 bytes as hexadecimal digits.
QString keyCodeText(const QByteArray &payload);

// Why a table cannot be written, and the row to fix (1 to 10).
struct KeyTableFault {
    enum Kind {
        BadCode,    // a code the controller's table cannot hold
        StopMarker, // the stream would hold the stop marker FF FE from this row on
    };
    Kind kind;
    int row;
    // A stop marker made of the last byte of row's code and the first byte
    // of the next row's description names that next row too; 0 otherwise.
    int nextRow = 0;
    bool operator==(const KeyTableFault &) const = default;
};

// Checks every row before anything is sent. A row with a description needs
// a code of upper-case hexadecimal digits only (or none); a row without one
// needs an empty code or one that converts in either case. The records then
// must not hold the stop marker anywhere, fields and record joins included:
// the controller's framer would end the packet there.
std::optional<KeyTableFault> checkKeyTable(const KeyRows &rows);

// Whether a code is in the grid's shown form: 16 upper-case hexadecimal
// digits. An empty code (a row without a key) is not a fault; see
// codeFault().
bool wellFormedKeyCode(const QString &code);

// What is wrong with the code of row (1 to 10) as the grid shows it, in
// Russian, or an empty text: a code that is not 16 hexadecimal digits, or a
// code that stands in another row too ("этот код уже в строке 1").
QString keyCodeFault(const KeyRows &rows, int row);

// The rows (1 to 10) whose code is not empty and not well formed.
QList<int> malformedCodeRows(const KeyRows &rows);

// The ten records, 250 bytes. A description is its first 16 characters with
// blanks and control characters trimmed at both ends; a code is its text
// with spaces trimmed, converted with HexToBytes and cut or padded with 00
// hex to 8 bytes. Throws ConversionError for a code that does not convert
// (checkKeyTable refuses those first).
QByteArray keyTableRecords(const KeyRows &rows);

// The key table stream: PacketStart, the records, PacketStop.
QByteArray keyTableStream(const KeyRows &rows, const QByteArray &start, const QByteArray &stop);

} // namespace zarven
