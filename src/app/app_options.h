#pragma once
// What the command line sets for one run of the tool.

#include "app/timing.h"

#include <QString>
#include <QStringList>

namespace zarven {

struct AppOptions {
    QStringList extraPorts;         // --port DEV, in the order given
    QString workDir;                // --workdir DIR; empty: the current directory
    bool includeSystemPorts = true; // false: only the --port devices are listed
    TimerIntervals intervals;
    // The file that keeps the user's choices between runs (the check after a
    // write); empty: nothing is remembered and every choice starts off.
    QString preferencesFile;
};

} // namespace zarven
