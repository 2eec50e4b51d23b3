#pragma once
// The output-time block of one input: four output times in block order
// (relay 2, siren, output 2, relay 1), two bytes each, high byte first. The
// settings image and the configuration file carry the same block.

#include <QByteArray>

namespace zarven {

class ControlAccess;

// The eight bytes of input's block: eight 00 bytes when the input's
// use-outputs box is not ticked; otherwise per output 00 00 when it is not
// assigned, FF DC when it is always on, else minutes * 60 + seconds as the
// two spin boxes read them.
QByteArray encodeOutputTimes(const ControlAccess &controls, int input);

// The four output times of input's rows as if its use-outputs box were
// ticked, whatever it shows: what the configuration file keeps for an input
// that is switched off, whose use-outputs box its rule has cleared.
QByteArray encodeOutputRows(const ControlAccess &controls, int input);

// Applies an eight-byte block to input's controls. Eight 00 bytes clear the
// four assignment boxes and change nothing else. Otherwise per output:
// 00 00 clears the assignment and always-on boxes; FF DC ticks both and sets
// the times to 0 minutes 1 second; any other value ticks the assignment box
// and, for 1 to 65499, sets minutes and seconds from the value. The
// use-outputs box is left to the caller. block must hold eight bytes.
void applyOutputTimes(ControlAccess &controls, int input, const QByteArray &block);

// The per-output part of applyOutputTimes alone, for eight bytes that are
// known not to be the all-00 block.
void applyEachOutputTime(ControlAccess &controls, int input, const QByteArray &block);

} // namespace zarven
