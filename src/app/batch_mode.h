#pragma once
// Batch mode: the window's own exchange handlers run without showing the
// window, for installers who provision many controllers and for black-box
// tests.
//
//   zarven4-config identify --port DEV [--port DEV ...] [--workdir DIR]
//   zarven4-config signal   --port DEV [--port DEV ...] [--workdir DIR]
//                           [--watch [--interval S] [--count N] [--csv FILE]]
//   zarven4-config read-keys  --port DEV --output FILE.key [--workdir DIR]
//   zarven4-config write-keys --port DEV --input FILE.key [--workdir DIR]
//   zarven4-config read-settings / write-settings: see batch_settings.h
//   zarven4-config doctor / support-bundle: see batch_system.h
//   zarven4-config provision: see batch_provision.h
//
// Every message box the window would show is printed on standard output
// (UTF-8, one box per paragraph); error reports go to standard error as well.
// Confirmation boxes and questions are answered Yes. Every command first
// finds the controller by a scan over the --port devices only, in the port
// list's order, then runs its own operation.
//
// Exit status: 0 success; 1 the device exchange failed (no answer, a sibling
// or unknown model, a wrong reply, a time-out); 2 a usage or file error; 3 a
// comparison found differences.
//
// The environment variable ZARVEN_TIMER_DIVISOR (an integer, 1 and up)
// divides every timer interval, so that tests can run a scan or a time-out
// in milliseconds. Without it the real intervals apply.
//
// Adding a command is one entry in batchCommands() (batch_mode.cpp) with its
// name, a line of help, the options it takes and its run function.

#include "app/command_line.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace zarven {

class ScriptedMessageBoxes;
class MainWindow;

enum BatchExit {
    BatchSuccess = 0,
    BatchExchangeFailed = 1,
    BatchUsageError = 2,
    BatchDifferent = 3, // a comparison found fields that differ
};

inline constexpr char kTimerDivisorVariable[] = "ZARVEN_TIMER_DIVISOR";

// One batch run: the hidden window, its scripted boxes and the command's own
// options. Commands use it to run window handlers and wait for their end.
class BatchSession {
public:
    BatchSession(MainWindow &form, ScriptedMessageBoxes &boxes, QStringList args, QStringList files = {});
    ~BatchSession();
    BatchSession(const BatchSession &) = delete;
    BatchSession &operator=(const BatchSession &) = delete;

    MainWindow &form() { return form_; }
    ScriptedMessageBoxes &boxes() { return boxes_; }
    // The value of one of the command's own options ("--output" ...), or an
    // empty text when it was not given.
    QString option(const QString &name) const;
    // Whether one of the command's flags ("--now") was given.
    bool hasFlag(const QString &name) const { return args_.contains(name); }
    // The command's plain arguments, as many as it takes.
    const QStringList &files() const { return files_; }
    // The value of an option the command needs ("--input" FILE), or an empty
    // text after saying on stderr that it is missing.
    QString requiredOption(const QString &name);

    // Runs a handler as the window would; false when it raised an error,
    // which has then been shown by the default error report.
    bool run(const std::function<void()> &handler);
    // Runs the event loop until finished() returns true; false when the
    // exchange did not end within the time limit (reported on stderr) or
    // the line to the controller was lost (told by the exchange's message).
    bool waitUntil(const std::function<bool()> &finished, int limitMs);

    // The scan over the --port devices; true when the controller was
    // accepted.
    bool identify();

    void print(const QString &text);
    void printError(const QString &text);

    // The line to the controller was lost during this run.
    bool lineLost() const { return lineLost_; }

private:
    MainWindow &form_;
    ScriptedMessageBoxes &boxes_;
    QStringList args_;
    QStringList files_;
    QMetaObject::Connection lost_;
    bool lineLost_ = false;
};

struct BatchCommand {
    QString name;
    QString summary;              // one line for --help
    QStringList valueOptions;     // the command's own options, each with a value
    std::function<int(BatchSession &)> run;
    bool needsPorts = true;       // false: works on files only, no --port needed
    QStringList flagOptions = {}; // the command's own options without a value
    int files = 0;                // how many plain arguments (files) it takes
};

const std::vector<BatchCommand> &batchCommands();

// The command list of --help.
QString batchCommandHelp();

// Runs the batch command of a parsed command line; returns the exit status.
int runBatch(const CommandLine &cl, int &argc, char **argv);

} // namespace zarven
