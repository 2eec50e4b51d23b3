#pragma once
// Field encodings of the settings image that need no window: output times,
// temperatures, flags. The configuration file uses the same output-time
// encoding.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QtGlobal>

namespace zarven {

// An output time of 0 means "not assigned"; this code means "always on".
// 1 to kLongestOutputTime is a duration in seconds; the codes above
// kAlwaysOnCode are never written.
inline constexpr quint16 kNotAssigned = 0x0000;
inline constexpr quint16 kAlwaysOnCode = 0xFFDC;
inline constexpr quint16 kLongestOutputTime = 65499;

// Two bytes, high byte first.
QByteArray outputTimeBytes(quint16 value);
// The value of two bytes, high byte first.
quint16 outputTimeValue(char high, char low);

// The output time of one output: not assigned, always on, or
// minutes * 60 + seconds (both already within the boxes' ranges).
quint16 outputTimeOf(bool assigned, bool alwaysOn, int minutes, int seconds);

// Whole degrees as a signed byte (two's complement). The caller keeps the
// value within -55 to 125.
char temperatureByte(int degrees);
// A byte up to 125 is that many degrees; 126 or more is the byte minus 256.
int temperatureFromByte(char byte);

// The date of the image's "dd.mm.yy" text, the year read as 20yy, as the
// controller takes it; invalid when the text is no such calendar date.
QDate imageDate(const QString &text);

// "1" for ticked, "0" otherwise.
inline char flagByte(bool on)
{
    return on ? '1' : '0';
}

// The unsigned value of a byte.
inline int byteValue(char byte)
{
    return static_cast<unsigned char>(byte);
}

// Type bytes of the records of the settings image.
inline constexpr char kThermostatRecord = 0x23; // "#"
inline constexpr char kTelephoneRecord = 0x11;
inline constexpr char kOptionsRecord = 0x21; // "!"
inline constexpr char kDateTimeRecord = 0x1C;
inline constexpr char kDelayRecord = 0x24; // "$"
// In a reply, this byte and the one after it carry no setting.
inline constexpr char kSkipPair = 0x25; // "%"
// Ends an input's message text, a telephone record and, unread, the others.
inline constexpr char kRecordEnd = 0x0D;
// Ends one telephone number.
inline constexpr char kNumberEnd = '/';

// The write command that opens the image written to the controller.
inline const QByteArray kWriteCommand = QByteArray("\x99\x99", 2);

} // namespace zarven
