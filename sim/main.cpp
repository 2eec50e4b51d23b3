// Entry of zarven4-sim: a simulated controller on a pseudo-terminal. It
// prints the device path as the first line of standard output, so that
// scripts and tests can read it, and serves until SIGTERM or SIGINT.

#include "plug_cycle.h"
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

void onSignal(int number)
{
    const char byte = number == SIGUSR1 ? 2 : 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void printError(const QString &text)
{
    std::fprintf(stderr, "zarven4-sim: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
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
    PlugCycle cycle(cl);
    QObject::connect(&cycle, &PlugCycle::finished, &app, &QCoreApplication::quit);
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&cycle] {
        char drain[16];
        ssize_t n = 0;
        bool quit = false;
        int toggles = 0;
        while ((n = ::read(signalPipe[0], drain, sizeof drain)) > 0)
            for (ssize_t i = 0; i < n; ++i)
                drain[i] == 2 ? void(++toggles) : void(quit = true);
        if (quit) {
            QCoreApplication::quit();
            return;
        }
        for (int i = 0; i < toggles; ++i)
            cycle.toggle();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGUSR1, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    try {
        if (cl.verbose && cl.options.signalWalk)
            printError(QStringLiteral("signal walk seed %1").arg(cl.options.walkSeed));
        cycle.plug();
        std::printf("%s\n", cycle.devicePath().toLocal8Bit().constData());
        std::fflush(stdout);
        return app.exec();
    } catch (const AppError &e) {
        printError(e.message());
        return 1;
    }
}
