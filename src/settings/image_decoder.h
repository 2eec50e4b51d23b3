#pragma once
// Applies the records of a received settings image to the window's controls,
// one function per record kind. Each takes the position of the record's type
// byte (counted from 0) and returns the position of the last byte it
// consumed: the input record up to the end of its output times, the
// telephone record up to its closing 0D; the other records up to their last
// data byte, leaving the closing 0D to the walk.
//
// Fields are applied one by one in the record's order, each change running
// the control's own rule. A byte out of range gets the outcome the record
// defines and one entry in the log; decoding goes on with the next field.
//
// No decoder reads past the packet. A record cut short by the end of the
// packet keeps what was applied before the missing field, adds one entry
// naming the record by its type byte, and returns the packet's size, which
// ends any walk. The date-time record instead logs its own entry for a date
// or time with fewer than eight bytes left.

#include <QByteArray>

namespace zarven {

class ControlAccess;
class EventLog;

class ImageDecoder {
public:
    ImageDecoder(const QByteArray &packet, ControlAccess &controls, EventLog &log);

    qsizetype decodeInputRecord(qsizetype pos);
    qsizetype decodeThermostatRecord(qsizetype pos);
    qsizetype decodeTelephoneRecord(qsizetype pos);
    qsizetype decodeOptionsRecord(qsizetype pos);
    qsizetype decodeDateTimeRecord(qsizetype pos);
    qsizetype decodeDelayRecord(qsizetype pos);

private:
    bool has(qsizetype pos) const { return pos >= 0 && pos < packet_.size(); }
    char at(qsizetype pos) const { return packet_.at(pos); }
    // Logs the cut-short entry for the record whose type byte is at pos and
    // returns the packet's size.
    qsizetype cutShort(qsizetype pos);
    void logEntry(const QByteArray &entry);
    // "1" ticks, "0" clears; any other byte keeps the box and logs entry
    // (followed by the byte when withByte).
    void applyStrictFlag(const char *name, char byte, const QByteArray &entry, bool withByte);
    // Applies one sensor's block; false when the packet ends inside it.
    bool decodeSensorBlock(int sensor, qsizetype base);

    const QByteArray &packet_;
    ControlAccess &controls_;
    EventLog &log_;
};

} // namespace zarven
