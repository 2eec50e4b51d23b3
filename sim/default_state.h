#pragma once
// What a controller holds before anyone has written to it: the settings
// image of a freshly started window (input 1 active, inputs 2 to 4 and both
// sensors off, every phone number "7", the window's option defaults) and a
// key table with one programmed key.

#include <QByteArray>
#include <QDateTime>

namespace zarven::sim {

constexpr int kKeyRecordSize = 25;
constexpr int kKeyDescriptionSize = 17;
constexpr int kKeyCodeSize = 8;
constexpr int kKeyCount = 10;
constexpr int kKeyTableSize = kKeyRecordSize * kKeyCount;

// The settings image (without the 99 99 write prefix) that a window just
// started at the given moment would write; the date-time record carries that
// moment as "dd.mm.yy" and "hh:mm:ss".
QByteArray defaultSettingsImage(const QDateTime &clock);

// The code a key held to the reader gives by default: a Touch Memory
// identification key (family code 01, a 48-bit serial number, then the
// CRC-8 of the first seven bytes).
QByteArray defaultKeyCode();

// One key record: the description padded with 00 hex to 17 bytes (cut to 16
// so that at least one 00 hex ends it) and the 8-byte code (padded or cut).
QByteArray keyRecord(const QByteArray &description, const QByteArray &code);

// Ten records: key 1 "Master" with the default key code, keys 2 to 10 empty.
QByteArray defaultKeyTable();

} // namespace zarven::sim
