#pragma once
// String helpers shared by the settings image, the configuration file and the
// key table. All work on byte strings or on control texts as documented.

#include <QByteArray>
#include <QString>
#include <optional>

namespace zarven {

// The digits of a phone box's text: the first character (the "+") is dropped,
// blanks and control characters are trimmed at both ends, blanks inside are
// dropped, and the rest is returned when it is non-empty and all decimal
// digits; otherwise "7".
QString PhoneDigits(const QString &s);

// "+" followed by s.
QString WithPlus(const QString &s);

// Each byte as two upper-case hexadecimal digits, no separators.
QString BytesToHex(const QByteArray &s);

// The value of a hexadecimal digit (either case); -1 for any other character.
int hexDigitValue(QChar c);

// The reverse of BytesToHex: pairs of hexadecimal digits (either case) from
// the first character on; a last unpaired character of a longer text is
// ignored, a one-character text gives the byte of that digit. Throws
// ConversionError for a character that is not a hexadecimal digit.
QByteArray HexToBytes(const QString &s);

// The integer text conversion: optional leading blanks, an optional sign,
// then decimal digits, or a hexadecimal number after "$", "x", "X", "0x" or
// "0X"; nothing may follow, and the value must fit 32 bits. StrToInt throws
// ConversionError("'%s' is not a valid integer value"); TryStrToInt reports
// failure with an empty result instead.
int StrToInt(const QString &s);
std::optional<int> TryStrToInt(const QString &s);

} // namespace zarven
