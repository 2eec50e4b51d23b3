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
    // A series of controllers on the link: after a settings write, once no
    // command but "Tt" has come for unplugIdleMs, the controller is
    // unplugged (the link goes, its pseudo-terminal closes) and replugMs
    // later the next one, fresh, is plugged on a new pseudo-terminal. 0: one
    // controller, never unplugged.
    int unplugIdleMs = 0;
    int replugMs = 500;
    int units = 0;      // end after this many controllers; 0: no end
    int faultyUnit = 0; // only this controller (from 1) plays the faults; 0: all
};

// args: the arguments after the program name. "--name value" and
// "--name=value" are both accepted.
SimCommandLine parseSimCommandLine(const QStringList &args);

QString simUsageText();

} // namespace zarven::sim
