#pragma once
// Compares two settings images field by field, byte for byte, over the
// fields of the catalogue (image_fields.h) as the walk of stored_fields.h
// finds them, and words the differences. Bytes in, differences out: no
// window and no decoder stand between what was written and what the
// controller holds, so a byte the controller stores differently is always a
// difference, also one that a read would turn into the window's default.
//
// A field that depends on another (an input's message on its "Активировать"
// box, a sensor's thresholds on its enable box, the keeping temperatures on
// the keeping box) is not reported while that box differs: the box's own row
// says it all, and the dependent bytes are then the record's fixed filler.
// A field the controller's image does not carry (a record missing or cut
// short) differs from one that it does.
//
// The date and the time are the controller's running clock: they count as
// different only when the two moments lie more than kClockTolerance seconds
// apart (or one of them is no valid date and time, which is compared byte by
// byte). A controller read back a few seconds after a write is no difference.

#include "settings/image_fields.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zarven {

inline constexpr int kClockTolerance = 120;

struct FieldDifference {
    int field = -1;                    // index into imageFields()
    std::optional<QByteArray> window;  // the window's (or the written) bytes
    std::optional<QByteArray> device;  // the controller's bytes; none: not in its image
};

struct Comparison {
    QList<FieldDifference> differences;
    int fields = 0;              // fields compared: every field of the catalogue
    bool clockTolerated = false; // the clocks' bytes differ, within kClockTolerance
};

// Both lists in imageFields() order.
Comparison compareFields(const FieldValues &window, const FieldValues &device);

// The records of an image the window would write (or has written) against
// the controller's reply to "Pt".
Comparison compareImages(const QByteArray &written, const QByteArray &stored);

// One difference as a line: "Вход 2 / Сообщение: окно «Дверь», прибор «Окно»".
QString differenceLine(const FieldDifference &d, const TextTranslator &tr);
// A value of a difference as the window would show it; "нет данных" for a
// field the image does not carry.
QString differenceValue(const FieldDifference &d, const std::optional<QByteArray> &bytes, const TextTranslator &tr);

// The closing lines: "Различий: N"; or "Различий нет" and why: every field
// of the catalogue has the same bytes (the clocks within their tolerance).
QStringList differenceSummary(const Comparison &c, const TextTranslator &tr);

// One line per difference, then the closing lines.
QStringList differenceReport(const Comparison &c, const TextTranslator &tr);

} // namespace zarven
