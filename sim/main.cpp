// Entry of zarven4-sim: a simulated controller on a pseudo-terminal. It
// prints the device path as the first line of standard output, so that
// scripts and tests can read it, and serves until SIGTERM or SIGINT.

#include "controller_simulator.h"
#include "pty_host.h"
#include "sim_command_line.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace zarven;
using namespace zarven::sim;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void printError(const QString &text)
{
    std::fprintf(stderr, "zarven4-sim: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Makes linkPath a symbolic link to target. An existing symbolic link there
// (a left-over of an earlier run) is replaced; any other file is kept and
// the start fails, so that nothing of the user's is overwritten.
bool makeLink(const QString &linkPath, const QString &target)
{
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        if (!QFile::remove(linkPath)) {
            printError(QStringLiteral("cannot replace the link %1").arg(linkPath));
            return false;
        }
    } else if (existing.exists()) {
        printError(QStringLiteral("%1 exists and is not a symbolic link; not replaced").arg(linkPath));
        return false;
    }
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData()) != 0) {
        printError(QStringLiteral("cannot create the link %1: %2").arg(linkPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const SimCommandLine cl = parseSimCommandLine(args);
    switch (cl.action) {
    case SimCommandLine::Action::Help:
        std::fputs(simUsageText().toUtf8().constData(), stdout);
        return 0;
    case SimCommandLine::Action::Error:
        printError(cl.error);
        std::fputs(simUsageText().toUtf8().constData(), stderr);
        return 2;
    case SimCommandLine::Action::Run:
        break;
    }

    QCoreApplication app(argc, argv);

    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        printError(QStringLiteral("cannot create the signal pipe"));
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char drain[16];
        while (::read(signalPipe[0], drain, sizeof drain) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    try {
        ControllerSimulator simulator(cl.options);
        if (cl.verbose)
            simulator.setLogger([](const QString &line) { printError(line); });
        simulator.setErrorReporter([](const QString &line) { printError(QStringLiteral("error: ") + line); });

        PtyHost host(simulator);
        // The pulled adapter does not come back: the simulator ends with it.
        QObject::connect(&host, &PtyHost::lineDropped, &app, [] {
            printError(QStringLiteral("line dropped"));
            QCoreApplication::quit();
        });
        host.open();
        if (!cl.linkPath.isEmpty() && !makeLink(cl.linkPath, host.devicePath()))
            return 1;

        std::printf("%s\n", host.devicePath().toLocal8Bit().constData());
        std::fflush(stdout);

        const int result = app.exec();
        if (!cl.linkPath.isEmpty() && QFileInfo(cl.linkPath).isSymLink()
            && QFileInfo(cl.linkPath).symLinkTarget() == host.devicePath())
            QFile::remove(cl.linkPath);
        return result;
    } catch (const AppError &e) {
        printError(e.message());
        return 1;
    }
}
