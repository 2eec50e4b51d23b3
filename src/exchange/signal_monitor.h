#pragma once
// The signal monitor ("Непрерывно"): the signal level query again and again,
// for placing the controller or its antenna. Each "Sg" goes through the
// ordinary query (label, gauge, log); the next one goes out when the last
// reply or its time-out has been handled and the interval since the last
// send has passed. Any other exchange pauses the monitor: it sends nothing
// until the state is idle again, then waits an interval and goes on. A scan,
// a lost line, a time-out or a failed open stops it.
//
// Nothing here blocks: the monitor waits on a single-shot timer. The
// readings of the last five minutes are kept in its history.
//
// The monitor's clock runs in monitor seconds (TimerIntervals): the wall
// clock in the program, faster where the intervals are scaled, so that the
// history spans five of its minutes however fast a test runs.

#include "exchange/signal_history.h"
#include "exchange/signal_level.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QTimer;

namespace zarven {

class SignalMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinInterval = 1;      // seconds
    static constexpr int kMaxInterval = 10;     // seconds
    static constexpr int kDefaultInterval = 2;  // seconds
    static constexpr int kKeptSeconds = 5 * 60; // the span of the history

    enum class Phase {
        Stopped,
        Reading, // a "Sg" is out
        Waiting, // for the interval to pass
        Paused,  // another exchange has the line
    };
    enum class StopReason {
        User,
        TimedOut,     // no reply in time (its box has been shown)
        LineLost,     // the port reported the line lost
        NoConnection, // no controller, or its port would not open
        Scan,         // a new scan took the line
    };
    Q_ENUM(StopReason)

    SignalMonitor(ExchangeCore &core, SignalLevelQuery &query, QObject *parent = nullptr);

    // Clamped to 1 to 10; takes effect from the next wait on.
    void setIntervalSeconds(int seconds);
    int intervalSeconds() const { return intervalSeconds_; }

    // Starts with a reading at once (or a pause, while another exchange
    // has the line). Starting a running monitor changes nothing.
    void start();
    void stop(StopReason reason = StopReason::User);
    bool running() const { return phase_ != Phase::Stopped; }
    Phase phase() const { return phase_; }

    // The monitor's time, milliseconds since the epoch: the moment of each
    // reading and the right edge of its graph.
    qint64 now() const;

    const SignalHistory &history() const { return history_; }
    // "Сброс": min / average / max and the counts start over.
    void resetStats();

    // Asked before each send; false puts the send off a little. The window
    // answers false while a modal box is open, so that no "Sg" goes out
    // behind a reply's box that still has purging and closing to do.
    void setReadyCheck(std::function<bool()> ready) { ready_ = std::move(ready); }

signals:
    void sampleAdded(const SignalSample &sample);
    void phaseChanged(Phase phase);
    void stopped(StopReason reason);

private:
    void setPhase(Phase phase);
    void waitThenRead(int delayMs);
    void readNow();
    void queryFinished(SignalOutcome outcome);
    void stateChanged(int to);
    int intervalMs() const;

    ExchangeCore &core_;
    SignalLevelQuery &query_;
    QTimer *timer_ = nullptr;
    QElapsedTimer sinceSend_;
    QElapsedTimer sinceStart_;
    qint64 startEpochMs_ = 0;
    SignalHistory history_;
    std::function<bool()> ready_;
    Phase phase_ = Phase::Stopped;
    int intervalSeconds_ = kDefaultInterval;
    bool sending_ = false;
};

} // namespace zarven
