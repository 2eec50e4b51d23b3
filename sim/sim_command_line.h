#pragma once
// The command line of zarven4-sim.

#include "simulator_options.h"

#include <QString>
#include <QStringList>

namespace zarven::sim {

struct SimCommandLine {
    enum class Action { Run, Help, Error };
    Action action = Action::Run;
    QString error;
    SimulatorOptions options;
    // A symbolic link to create at this path, pointing to the device.
    QString linkPath;
    bool verbose = false;
};

// args: the arguments after the program name. "--name value" and
// "--name=value" are both accepted.
SimCommandLine parseSimCommandLine(const QStringList &args);

QString simUsageText();

} // namespace zarven::sim
