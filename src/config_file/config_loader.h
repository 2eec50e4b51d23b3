#pragma once
// Reads a configuration file into the window's controls in one pass.
//
// Lines that do not begin with "#" are skipped (trailers, the closing block,
// anything else). A header's second and third characters give the record
// number; known records consume their field lines whatever these hold, so a
// field line beginning with "#" is never taken for a header. Records may
// come in any order and may repeat (the later one wins); a record missing
// from the file leaves its controls as they are. Each control is set as its
// line is applied, running the control's own rule on a change.
//
// Invalid values of an input record, "#20" and "#21" add report lines to the
// log; other invalid values are passed over. A header number or an index
// line that is not an integer throws ConversionError; the controls set
// before it keep their new values.

#include <QByteArray>

namespace zarven {

class ControlAccess;
class EventLog;

void loadConfiguration(const QByteArray &content, ControlAccess &controls, EventLog &log);

// Whether the content holds at least one complete record: a header line
// ("#" and two digits) and, after it, the trailer line of the same number
// ("//#" and those digits). A file without one (a picture, a key file, a
// text of another program) is no configuration file.
bool holdsCompleteRecord(const QByteArray &content);

// Run after a load that got through: the click rules of the four inputs'
// "Активировать" boxes, the four use-outputs boxes, and of each sensor's
// keeping box and then its enable box, once each whether or not the box
// changed, bring the enabling and colours of those panels, and an active
// input's type, into line with the loaded states. All four inputs and both
// sensors get their rules, so loading the same file twice gives the same
// window.
void runRulesAfterLoad(ControlAccess &controls);

} // namespace zarven
