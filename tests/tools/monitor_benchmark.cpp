// Measures the signal monitor against the simulator's wandering level, with
// the window "Антенна" and its graph shown: readings per minute, the longest
// time the event loop was held, and the process's memory as it runs.
//
//     monitor_benchmark SECONDS INTERVAL [MONITOR_SECOND_MS]
//
// MONITOR_SECOND_MS below 1000 makes the monitor's seconds (its interval,
// its five-minute span) pass faster; the figures are then per monitor
// minute. Not a test: it prints what it measured.

#include "app/antenna_window.h"
#include "app/main_window.h"
#include "app/signal_graph.h"
#include "core/message_boxes.h"
#include "exchange/device_exchange.h"
#include "exchange/signal_monitor.h"
#include "sim_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace zarven;

namespace {

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: monitor_benchmark SECONDS INTERVAL [MONITOR_SECOND_MS]\n");
        return 2;
    }
    const int seconds = QByteArray(argv[1]).toInt();
    const int interval = QByteArray(argv[2]).toInt();
    const int monitorSecond = argc > 3 ? QByteArray(argv[3]).toInt() : 1000;

    test::SimProcess sim({QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("1")});
    if (!sim.isRunning()) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.errorText()));
        return 1;
    }
    QTemporaryDir work;
    AppOptions options;
    options.workDir = work.path();
    options.extraPorts = {sim.devicePath()};
    options.includeSystemPorts = false;
    options.intervals.monitorSecondMs = monitorSecond;
    ScriptedMessageBoxes boxes;
    MainWindow w(options, boxes);
    w.show();
    w.connectButton->click();
    QElapsedTimer wait;
    wait.start();
    while (w.shared.ConnectedPort.isEmpty() && wait.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (w.shared.ConnectedPort.isEmpty()) {
        std::fprintf(stderr, "no controller found\n");
        return 1;
    }

    SignalMonitor &m = *w.signalMonitor;
    m.setIntervalSeconds(interval);
    int readings = 0;
    int failures = 0;
    QObject::connect(&m, &SignalMonitor::sampleAdded, [&](const SignalSample &s) {
        ++readings;
        failures += s.hasLevel() ? 0 : 1;
    });
    // The event loop's longest hold: the largest gap between the ticks of a
    // 1 ms timer, less the millisecond it waits anyway.
    QElapsedTimer tick;
    qint64 longestMs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (tick.isValid())
            longestMs = std::max(longestMs, tick.elapsed() - 1);
        tick.restart();
    });
    long peakKiB = 0;
    size_t peakKept = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        peakKiB = std::max(peakKiB, residentKiB());
        peakKept = std::max(peakKept, m.history().samples().size());
    });

    w.monitorButton->click();
    w.antennaWindow->resize(680, 460);
    probe.start(1);
    sampler.start(1000);
    const long startKiB = residentKiB();
    QElapsedTimer run;
    run.start();
    long tenthKiB = -1;
    while (run.elapsed() < seconds * 1000LL) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        if (tenthKiB < 0 && run.elapsed() >= seconds * 100LL)
            tenthKiB = residentKiB();
    }
    probe.stop();
    const bool running = m.running();
    w.monitorButton->click();
    const double monitorMinutes = double(seconds) * 1000.0 / monitorSecond / 60.0;
    std::printf("interval %d s, %d s run (%.1f monitor minutes), monitor running to the end: %s\n", interval,
                seconds, monitorMinutes, running ? "yes" : "no");
    std::printf("readings %d (%d without a level), %.1f per monitor minute\n", readings, failures,
                readings / monitorMinutes);
    std::printf("longest event-loop hold %lld ms\n", static_cast<long long>(longestMs));
    std::printf("resident memory: start %ld KiB, after a tenth %ld KiB, peak %ld KiB, end %ld KiB\n", startKiB,
                tenthKiB, peakKiB, residentKiB());
    std::printf("readings kept: peak %zu, end %zu (span %lld ms)\n", peakKept, m.history().samples().size(),
                static_cast<long long>(m.history().spanMs()));
    return 0;
}
