#pragma once
// The settings image as it is about to be written: every piece encoded from
// the controls before the first byte goes out, or the reason it cannot be.
//
// A write is refused, with nothing sent, when a box the controller needs a
// value from cannot give one: a time, delay or temperature box that holds no
// whole number, a date that is no calendar date "dd.mm.yy", a time that is
// not "hh:mm:ss" (a one-digit hour is taken with a leading "0"), a list
// without a selection where the record needs an entry; or when the records
// would carry the packet's stop marker FF FE, where the controller's framer
// would cut the image short.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zarven {

class ControlAccess;
struct SharedValues;

// Why a write is refused. Each reason has one message with "%1" for the
// controls it names.
enum class WriteRefusal {
    None,
    NotANumber, // a time, delay or temperature box
    BadTime, // timeEdit, "Edit_time" in the message
    BadDate, // dateEdit, "Edit_Date" in the message
    NoSelection, // a list or radio group
    StopMarker, // the fields whose bytes would form FF FE
};

struct WriteImage {
    QList<QByteArray> pieces; // the eleven pieces in write order; empty when refused
    WriteRefusal refusal = WriteRefusal::None;
    QStringList controls; // the controls the refusal names

    bool refused() const { return refusal != WriteRefusal::None; }
};

// The Russian message of a refusal, with "%1" where the controls' names go.
QString writeRefusalMessage(WriteRefusal refusal);

// Checks the controls the records need and encodes all pieces.
WriteImage encodeWriteImage(const ControlAccess& controls, const SharedValues& shared);

} // namespace zarven
