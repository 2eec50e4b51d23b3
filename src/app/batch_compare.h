#pragma once
// The batch command that compares a configuration file with the controller:
//
//   zarven4-config compare --port DEV --input FILE.cfg [--workdir DIR]
//
// It identifies the controller, loads FILE as the menu's load does, reads the
// controller's settings into the comparison's shadow panels and prints one
// line per differing field, then "Различий: N" or "Различий нет". Exit 0 when
// nothing differs, 3 when something does, 1 when the exchange failed, 2 on a
// usage or file error.

#include "settings/settings_compare.h"

#include <functional>

namespace zarven {

class BatchSession;

int runCompareCommand(BatchSession &s);

// Runs one comparison (start() sends the request) and waits for its end;
// the differences are printed. Returns the batch exit status for it.
int runComparison(BatchSession &s, const std::function<void()> &start);

} // namespace zarven
