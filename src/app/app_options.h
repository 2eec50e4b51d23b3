#pragma once
// What the command line sets for one run of the tool.

#include "core/timing.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace zarven {

struct AppOptions {
    QStringList extraPorts;         // --port DEV, in the order given
    QString workDir;                // --workdir DIR; empty: the current directory
    bool includeSystemPorts = true; // false: only the --port devices are listed
    TimerIntervals intervals;
    // The window run by the user: it remembers its choices (language, last
    // folders, recent files) in the user's settings and shows Qt's own texts
    // in its language. Batch runs and tests leave both alone.
    bool userSession = false;
    // The language to start in, "R" or "E"; unset: the remembered one.
    QChar language;
    // The folder watched for plugged adapters ("/dev" for the user's
    // window); empty: none is watched (batch runs, most tests).
    QString deviceFolder;
    // How long a new device is left to udev (permissions, links) before it
    // is scanned. A property of the machine, not scaled in tests.
    int deviceSettleMs = 200;
};

} // namespace zarven
