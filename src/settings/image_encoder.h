#pragma once
// Builds the records of the settings image from the window's controls, one
// function per record kind, and the write stream that carries them.
//
// A list with no entry selected is written as the entry the window gives it
// on its own (an active input's type list: "Внешний уровень 3-12В"; the
// arming level: "Touch Memory/Импульс"; the output at arming: "Не
// задействовать"; the arming state output: "Светодиод(LED)"), so that the
// controller never receives a byte outside its tables. A spin box whose text
// is not a number is written as the box reads it (its lowest value), and a
// number beyond the box's range as the nearer bound. These fallbacks serve
// the offline encoding only: a write to the controller first checks every
// such box and refuses instead (write_image.h).

#include <QByteArray>

namespace zarven {

class ControlAccess;
struct SharedValues;

// The longest message text the input record carries.
inline constexpr int kImageMessageLength = 25;

// Input record of input 1 to 4: type byte, message text (a single space when
// the input is not active), 0D, type, active, 24-hour control, output times.
QByteArray encodeInputRecord(const ControlAccess &controls, int input);
// "#", the eight-byte blocks of sensors 1 and 2, 0D.
QByteArray encodeThermostatRecord(const ControlAccess &controls);
// 11 hex, each of the five numbers followed by "/", 0D.
QByteArray encodeTelephoneRecord(const ControlAccess &controls);
// "!", fourteen option bytes, 0D.
QByteArray encodeOptionsRecord(const ControlAccess &controls);
// 1C hex, the date text, ";", the time text (a one-digit hour gets a leading
// "0"), 0D.
QByteArray encodeDateTimeRecord(const ControlAccess &controls);
// "$", arming delay, disarming delay, four delay flags, 0D.
QByteArray encodeDelayRecord(const ControlAccess &controls);

// The write stream goes out in eleven pieces: the start marker with the
// write command, the nine records in stream order (inputs 1 to 4,
// thermostat, telephone, options, date-time, delay), the stop marker.
inline constexpr int kWritePieces = 11;
// Piece 1 to 11, built from the controls as they are now.
QByteArray encodeWritePiece(const ControlAccess &controls, const SharedValues &shared, int piece);
// All eleven pieces joined.
QByteArray encodeWriteStream(const ControlAccess &controls, const SharedValues &shared);

} // namespace zarven
