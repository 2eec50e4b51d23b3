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

#include "settings/image_fields.h"

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
    QStringList controls; // the controls the refusal names, by object name

    bool refused() const { return refusal != WriteRefusal::None; }
};

// The Russian message of a refusal, with "%1" where the fields' names go.
QString writeRefusalMessage(WriteRefusal refusal);

// The refusal as the installer reads it, in the window's language: its
// message naming each field by its place and caption in the window
// ("«Термодатчик 1 / Порог опасной температуры Min»").
QString writeRefusalText(const WriteImage& image, const TextTranslator& tr);

// The active inputs (1 to 4, in increasing order) whose message box is empty:
// their image would carry no text, and a write refuses it.
QList<int> inputsWithoutMessage(const ControlAccess& controls);
// The warning for them: "Не введен текст сообщений на входе:" (or "...на
// входах:" for more than one), the numbers each followed by ",", ". Нажмите
// OK.", joined without spaces, in Russian; the message boxes translate it.
QString missingMessageWarning(const QList<int>& inputs);

// The records of the image, without markers and write command: what the
// controller is to store.
QByteArray writtenRecords(const WriteImage& image);

// Checks the controls the records need and encodes all pieces.
WriteImage encodeWriteImage(const ControlAccess& controls, const SharedValues& shared);

} // namespace zarven
