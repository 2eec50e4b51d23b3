#pragma once
// Runs the zarven4-config executable for batch-mode tests and collects what
// it printed.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace zarven::test {

struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// Runs zarven4-config with the arguments in the environment; intervals
// divided by divisor (0: the real intervals).
BatchRun runConfig(const QStringList &args, int divisor = 20,
                   QProcessEnvironment env = QProcessEnvironment::systemEnvironment());

// The lines of a text, without the empty one after the last line break.
QStringList lines(const QString &text);

} // namespace zarven::test
