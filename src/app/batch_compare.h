#pragma once
// The batch side of the comparison with the controller:
//
//   zarven4-config compare --port DEV --input FILE.cfg [--now] [--workdir DIR]
//
// identifies the controller, loads FILE as the menu's load does (with --now
// the date and time from the clock), reads the controller's settings and
// prints one line per differing field, then "Различий: N", or "Различий нет"
// and the line that says all fields have the same bytes. Exit 0 when
// nothing differs, 3 when something does, 1 when the exchange failed (or the
// settings cannot be written, as write-settings says), 2 on a usage or file
// error. write-settings --verify prints its check after the write the same
// way, through ComparisonWatch.

#include "settings/settings_compare.h"

#include <QMetaObject>
#include <optional>

namespace zarven {

class BatchSession;

int runCompareCommand(BatchSession &s);

// From its creation on, prints the differences of the window's comparison
// (or check after a write) and keeps its outcome.
class ComparisonWatch {
public:
    explicit ComparisonWatch(BatchSession &s);
    ~ComparisonWatch();
    ComparisonWatch(const ComparisonWatch &) = delete;
    ComparisonWatch &operator=(const ComparisonWatch &) = delete;

    // Waits until the comparison has ended; false when it did not in time.
    bool wait();
    // 0 nothing differs, 3 something does, 1 no comparison ended or it
    // failed.
    int exitStatus() const;

private:
    BatchSession &s_;
    std::optional<CompareOutcome> outcome_;
    QMetaObject::Connection connection_;
};

} // namespace zarven
