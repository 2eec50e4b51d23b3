#pragma once
// Compares two sets of settings field by field, as the controller would store
// them (the encoded fields of image_fields.h), and words the differences.
//
// A field that depends on another (an input's message on its "Активировать"
// box, a sensor's thresholds on its enable box, the keeping temperatures on
// the keeping box) is not reported while that box differs: the box's own row
// says it all, and the dependent bytes are then the record's fixed filler.
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

namespace zarven {

inline constexpr int kClockTolerance = 120;

struct FieldDifference {
    int field = -1;    // index into imageFields()
    QByteArray window; // the window's (or the written) bytes
    QByteArray device; // the controller's bytes
};

// Both lists in imageFields() order.
QList<FieldDifference> compareFields(const QList<QByteArray> &window, const QList<QByteArray> &device);

// One difference as a line: "Вход 2 / Сообщение: окно «Дверь», прибор «Окно»".
QString differenceLine(const FieldDifference &d, const TextTranslator &tr);

// The closing line: "Различий нет", or "Различий: N".
QString differenceCountLine(qsizetype count, const TextTranslator &tr);

// One line per difference, then the closing line.
QStringList differenceReport(const QList<FieldDifference> &diffs, const TextTranslator &tr);

} // namespace zarven
