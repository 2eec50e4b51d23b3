#pragma once
// What a write sends although it is probably not what the installer meant.
// Unlike the write's refusals (write_image.h) these do not stop the write:
// the installer is told and chooses. Each warning names its field by place
// and caption in the window ("«Термодатчик 1 / Порог опасной температуры
// Min»").
//
// - an enabled sensor whose Min is not below its Max: it can never be in
//   range;
// - an output time beyond the 500 minutes that its input's heading states;
// - a number of "+7" followed by other than ten digits, or one of "+8" (the
//   domestic prefix typed after the country code);
// - a number that stands in two telephone boxes.
//
// And the window's date and time against the computer's clock: after a read
// or a file load the boxes stand still, and a write minutes later would set
// the controller's clock back.

#include "settings/image_fields.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

namespace zarven {

class ControlAccess;

// The longest output time the inputs' headings allow, in seconds.
inline constexpr int kLongestOutputSeconds = 500 * 60;
// A window time further than this from the computer's clock is asked about.
inline constexpr qint64 kClockToleranceSeconds = 120;

// The warnings for the window's settings, one a line, in the window's
// language; empty when there is nothing to say.
QStringList writeWarnings(const ControlAccess &controls, const TextTranslator &tr = {});

// The window's date and time minus now, in seconds; none when the boxes
// hold no valid date and time.
std::optional<qint64> clockOffsetSeconds(const ControlAccess &controls, const QDateTime &now);
// The offset when it is larger than the tolerance, else none.
std::optional<qint64> staleClockOffset(const ControlAccess &controls, const QDateTime &now);

// "17 мин", "3 ч 5 мин", "2 дн. 4 ч" for an offset of either sign.
QString clockDifferenceText(qint64 seconds, const TextTranslator &tr = {});
// "Время в окне отличается от часов компьютера на 17 мин. Записать текущее
// время?"
QString staleClockQuestion(qint64 seconds, const TextTranslator &tr = {});

} // namespace zarven
