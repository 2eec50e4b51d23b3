#pragma once
// Timer intervals of the window. The program runs with the real intervals;
// tests shrink them so that a ten-second time-out takes milliseconds.

namespace zarven {

struct TimerIntervals {
    int scanStepMs = 1200;         // scanTimer: one port of the identification scan
    int clockMs = 1000;            // clockTimer: status bar clock
    int responseTimeoutMs = 10000; // responseTimer: reply time-out of every exchange
    int idleCloseMs = 1000;        // idleCloseTimer: idle close after an exchange
    int signalPollMs = 100;      // pause between polls of the signal query
    int signalPolls = 100;       // polls of the signal query before giving up
    int keyWriteSettleMs = 0;    // pauses a sender makes on the line, if any
    int keyWriteWaitMs = 1000;   // pause before a key table write starts
    int keyStreamWaitMs = 100;   // pauses before and after the key table stream is built
    // One second of the signal monitor: its interval (1 to 10 of these) and
    // the span of readings it keeps (300 of these) are counted in it.
    int monitorSecondMs = 1000;
    // Quiet time after which a stop marker inside a reply of known length
    // ends it. A property of the line, not of the user's patience: never
    // scaled, so a reply sent in pieces is not cut between two of them.
    int keyReplyQuietMs = 100;

    // Every interval divided by the same factor (at least 1 ms each).
    TimerIntervals scaled(int divisor) const
    {
        auto s = [divisor](int ms) { return ms <= 0 ? ms : (ms / divisor > 0 ? ms / divisor : 1); };
        TimerIntervals t = *this;
        t.scanStepMs = s(scanStepMs);
        t.clockMs = s(clockMs);
        t.responseTimeoutMs = s(responseTimeoutMs);
        t.idleCloseMs = s(idleCloseMs);
        t.signalPollMs = s(signalPollMs);
        t.keyWriteSettleMs = s(keyWriteSettleMs);
        t.keyWriteWaitMs = s(keyWriteWaitMs);
        t.keyStreamWaitMs = s(keyStreamWaitMs);
        t.monitorSecondMs = s(monitorSecondMs);
        return t;
    }
};

} // namespace zarven
