#include "app/batch_signal_watch.h"

#include "app/batch_mode.h"
#include "app/main_window.h"
#include "exchange/signal_monitor.h"
#include "translate/translation.h"

#include <QFile>
#include <QSocketNotifier>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>

namespace zarven {

namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(interruptPipe[1], &byte, 1);
}

// Ctrl-C while it lives: the handler only writes to a pipe, and the event
// loop calls `interrupted` when the pipe can be read. The earlier handler
// comes back when it goes.
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void()> interrupted)
    {
        if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        notifier_ = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [interrupted] {
            char drain[16];
            while (::read(interruptPipe[0], drain, sizeof drain) > 0) {
            }
            interrupted();
        });
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptWatch()
    {
        if (!notifier_)
            return;
        ::sigaction(SIGINT, &previous_, nullptr);
        notifier_.reset();
        ::close(interruptPipe[0]);
        ::close(interruptPipe[1]);
        interruptPipe[0] = interruptPipe[1] = -1;
    }
    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_ {};
};

// A whole number from low to high given as the option's value; the fallback
// when the option is absent. Nothing after a message when it is wrong.
std::optional<int> numberOption(BatchSession &s, const QString &name, int low, int high, int fallback)
{
    const QString text = s.option(name);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int v = text.toInt(&ok);
    if (ok && v >= low && v <= high)
        return v;
    s.printError(QStringLiteral("zarven4-config: %1 wants a whole number from %2 to %3, got \"%4\"")
                     .arg(name)
                     .arg(low)
                     .arg(high)
                     .arg(text));
    return std::nullopt;
}

} // namespace

int runSignalWatch(BatchSession &s)
{
    const auto interval = numberOption(s, QStringLiteral("--interval"), SignalMonitor::kMinInterval,
                                       SignalMonitor::kMaxInterval, SignalMonitor::kDefaultInterval);
    const auto count = numberOption(s, QStringLiteral("--count"), 1, INT_MAX, 0);
    if (!interval || !count)
        return BatchUsageError;
    std::unique_ptr<QFile> csv;
    if (const QString path = s.option(QStringLiteral("--csv")); !path.isEmpty()) {
        csv = std::make_unique<QFile>(path);
        if (!csv->open(QIODevice::WriteOnly | QIODevice::Truncate) || csv->write(signalCsvHeader()) < 0) {
            s.printError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, csv->errorString()));
            return BatchUsageError;
        }
        csv->flush();
    }
    if (!s.identify())
        return BatchExchangeFailed;

    MainWindow &form = s.form();
    SignalMonitor &monitor = *form.signalMonitor;
    monitor.setIntervalSeconds(*interval);
    const CaptionFunction caption = [&form](const QString &russian) {
        return captionInCurrentLanguage(form.shared, russian);
    };
    SignalStats total;
    bool firstFailed = false;
    std::optional<SignalMonitor::StopReason> reason;
    QObject context;
    QObject::connect(&monitor, &SignalMonitor::sampleAdded, &context, [&](const SignalSample &sample) {
        s.print(signalWatchLine(sample, caption));
        if (csv) {
            csv->write(signalCsvRow(sample, caption));
            csv->flush();
        }
        total.add(sample);
        if (total.readings == 1 && !sample.hasLevel()) {
            firstFailed = true;
            monitor.stop();
        } else if (*count > 0 && total.readings >= *count) {
            monitor.stop();
        }
    });
    QObject::connect(&monitor, &SignalMonitor::stopped, &context,
                     [&reason](SignalMonitor::StopReason r) { reason = r; });
    const InterruptWatch interrupt([&monitor] { monitor.stop(); });

    if (!s.run([&monitor] { monitor.start(); })) {
        monitor.stop(SignalMonitor::StopReason::NoConnection);
        return BatchExchangeFailed;
    }
    s.waitUntil([&monitor] { return !monitor.running(); }, INT_MAX);
    if (firstFailed)
        return BatchExchangeFailed;
    s.print(signalStatsLine(total, caption));
    if (csv && csv->error() != QFileDevice::NoError) {
        s.printError(QStringLiteral("Cannot create file \"%1\". %2").arg(csv->fileName(), csv->errorString()));
        return BatchUsageError;
    }
    return reason == SignalMonitor::StopReason::User ? BatchSuccess : BatchExchangeFailed;
}

} // namespace zarven
