#pragma once
// SimProcess: the real zarven4-sim executable running for one test. It is
// started with the given options and a state file in a temporary folder of
// its own (unless the options name one with --state), its device path is
// read from the first line it prints, and it is stopped when the fixture is
// destroyed. The simulator's standard error goes to the test's, so --verbose
// shows every command in the test log.
//
//     SimProcess sim({"--csq", "5"});
//     QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
//     port.setPort(sim.devicePath());

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace zarven::test {

class SimProcess {
public:
    explicit SimProcess(const QStringList &options = {}, int startTimeoutMs = 10000);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool isRunning() const;
    // The pseudo-terminal the simulator serves, e.g. /dev/pts/3; empty when
    // it did not start.
    QString devicePath() const { return devicePath_; }
    QString statePath() const { return statePath_; }
    // Why the start failed; empty after a good start.
    QString errorText() const { return error_; }
    qint64 processId() const;

    // Stops the simulator with SIGTERM (SIGKILL if it does not end within a
    // few seconds) and returns its exit code; -1 if it had to be killed or
    // crashed. When it has already ended, its exit code.
    int stop();

    // The executable the tests run.
    static QString binaryPath();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> process_;
    QString devicePath_;
    QString statePath_;
    QString error_;
};

// Tests usually run as root, and root may open a device that another has
// opened exclusively. This drops that privilege for the rest of the test
// process, so that the exclusive flag behaves as an ordinary user meets it.
void dropExclusiveOverride();

// Likewise for file permissions: afterwards a device node the process's user
// may not open refuses it, as it refuses an installer outside its group.
void dropFileAccessOverride();

// Writes a simulator state file holding image as the stored settings into
// dir and returns its path, for --state.
QString writeSimState(const QString &dir, const QByteArray &image);

// A key table of the simulator's size, every record unlike the default one.
QByteArray someKeyTable();

} // namespace zarven::test
