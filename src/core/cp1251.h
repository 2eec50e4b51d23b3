#pragma once
// The one code page 1251 codec of the program. Every text that crosses from a
// control (QString) to bytes on the serial line or in a file, and back, goes
// through these two functions, so files and devices of the Windows tool keep
// working unchanged.

#include <QByteArray>
#include <QString>

namespace zarven {

// Decodes single-byte code page 1251. Every byte maps to one character; the
// one byte the code page leaves unassigned (98 hex) maps to U+0098 so that a
// decode followed by an encode gives the same bytes back.
QString fromCp1251(const QByteArray &bytes);

// Encodes to code page 1251. A character the code page cannot hold becomes
// "?" (3F hex), as the platform's own conversion does.
QByteArray toCp1251(const QString &text);

// The text without the characters a typed text box must not take: those
// below 20 hex (line breaks, tabs, the 1A end-of-file byte) and those code
// page 1251 cannot hold, its unassigned byte 98 hex included.
QString cp1251PrintableOnly(const QString &text);

} // namespace zarven
