#include "exchange/signal_monitor.h"

#include <QDateTime>
#include <QTimer>
#include <algorithm>

namespace zarven {

namespace {

bool lineIsFree(int state)
{
    return state == ssIdle || state == ssClosed;
}

} // namespace

SignalMonitor::SignalMonitor(ExchangeCore &core, SignalLevelQuery &query, QObject *parent)
    : QObject(parent), core_(core), query_(query)
{
    history_.setSpanMs(qint64(kKeptSeconds) * 1000);
    startEpochMs_ = QDateTime::currentMSecsSinceEpoch();
    sinceStart_.start();
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("signalMonitorTimer"));
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        const ExchangeWindow &win = core_.window();
        if (win.guarded)
            win.guarded([this] { readNow(); });
        else
            readNow();
    });
    connect(&query_, &SignalLevelQuery::queryFinished, this, &SignalMonitor::queryFinished);
    connect(&core_, &ExchangeCore::stateChanged, this, [this](int, int to) { stateChanged(to); });
    connect(&core_, &ExchangeCore::connectionLost, this, [this] {
        if (running())
            stop(StopReason::LineLost);
    });
    // The level query reports its own time-out; another exchange's time-out
    // with a message says as much about the line.
    connect(&core_, &ExchangeCore::responseTimedOut, this, [this](int state) {
        if (running() && state != ssSignalLevel && timeoutEntryFor(state))
            stop(StopReason::TimedOut);
    });
}

qint64 SignalMonitor::now() const
{
    const double rate = 1000.0 / std::max(1, core_.window().intervals.monitorSecondMs);
    return startEpochMs_ + qint64(double(sinceStart_.elapsed()) * rate);
}

void SignalMonitor::setIntervalSeconds(int seconds)
{
    intervalSeconds_ = std::clamp(seconds, kMinInterval, kMaxInterval);
}

int SignalMonitor::intervalMs() const
{
    return intervalSeconds_ * core_.window().intervals.monitorSecondMs;
}

void SignalMonitor::setPhase(Phase phase)
{
    if (phase_ == phase)
        return;
    phase_ = phase;
    emit phaseChanged(phase);
}

void SignalMonitor::start()
{
    if (running())
        return;
    setPhase(Phase::Waiting);
    readNow();
}

void SignalMonitor::stop(StopReason reason)
{
    if (!running())
        return;
    timer_->stop();
    setPhase(Phase::Stopped);
    emit stopped(reason);
}

void SignalMonitor::resetStats()
{
    history_.resetStats();
}

void SignalMonitor::waitThenRead(int delayMs)
{
    setPhase(Phase::Waiting);
    timer_->start(std::max(0, delayMs));
}

void SignalMonitor::readNow()
{
    if (!running())
        return;
    if (!lineIsFree(core_.state())) {
        // Goes on when the exchange that has the line ends.
        setPhase(Phase::Paused);
        return;
    }
    if (ready_ && !ready_()) {
        waitThenRead(std::max(1, core_.window().intervals.monitorSecondMs / 4));
        return;
    }
    // Without a connection the query says so as "Обновить" does, and the
    // monitor stops on its outcome.
    sinceSend_.restart();
    setPhase(Phase::Reading);
    sending_ = true;
    try {
        query_.startQuery();
    } catch (...) {
        // A write that failed: its error is reported by the caller.
        sending_ = false;
        stop(StopReason::NoConnection);
        throw;
    }
    sending_ = false;
}

void SignalMonitor::queryFinished(SignalOutcome outcome)
{
    if (!running())
        return;
    SignalSample sample;
    sample.atMs = now();
    switch (outcome) {
    case SignalOutcome::NoConnection:
        stop(StopReason::NoConnection);
        return;
    case SignalOutcome::LineLost:
        stop(StopReason::LineLost);
        return;
    case SignalOutcome::Shown:
        sample.kind = SignalSample::Level;
        sample.csq = query_.lastReading().level;
        break;
    case SignalOutcome::NoService:
        sample.kind = SignalSample::NoService;
        sample.csq = 99;
        break;
    case SignalOutcome::NoNumber:
        sample.kind = SignalSample::NoNumber;
        break;
    case SignalOutcome::WrongReply:
        sample.kind = SignalSample::WrongReply;
        break;
    case SignalOutcome::TimedOut:
        sample.kind = SignalSample::TimedOut;
        break;
    }
    history_.add(sample);
    emit sampleAdded(sample);
    // A slot of sampleAdded may have stopped the monitor (a count reached).
    if (!running())
        return;
    if (outcome == SignalOutcome::TimedOut) {
        stop(StopReason::TimedOut);
        return;
    }
    waitThenRead(intervalMs() - int(sinceSend_.isValid() ? sinceSend_.elapsed() : 0));
}

void SignalMonitor::stateChanged(int to)
{
    if (!running() || sending_)
        return;
    if (to == ssIdentify) {
        // A new scan: the controller found may be another one.
        stop(StopReason::Scan);
        return;
    }
    if (to == ssSignalLevel) {
        // "Обновить" while the monitor waits: that reading counts as its
        // next one.
        timer_->stop();
        sinceSend_.restart();
        setPhase(Phase::Reading);
        return;
    }
    if (!lineIsFree(to)) {
        timer_->stop();
        setPhase(Phase::Paused);
        return;
    }
    if (phase_ == Phase::Paused)
        waitThenRead(intervalMs());
}

} // namespace zarven
