#pragma once
// The command line of zarven4-config.

#include "app/app_options.h"

#include <QString>
#include <QStringList>

namespace zarven {

struct CommandLine {
    enum class Action { RunWindow, Batch, Help, Version, Error };
    Action action = Action::RunWindow;
    QString batchCommand; // identify, signal, ... when action is Batch
    QStringList batchArgs; // the batch command's own options (--input, ...)
    QStringList batchFiles; // the batch command's plain arguments (diff A.cfg B.cfg)
    AppOptions options;
    bool exitWhenShown = false; // quit once the window is up: start-up measurements
    QString error; // for Action::Error
};

// Parses the arguments after the program name.
CommandLine parseCommandLine(const QStringList &args);

QString usageText();

} // namespace zarven
