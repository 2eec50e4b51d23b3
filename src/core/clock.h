#pragma once
// The computer's clock behind one seam: the window's clock, the date-time
// boxes, the check of the window's time before a write and the running time
// of an exchange all ask it for "now". The program uses the system clock;
// tests use ManualClock and move it themselves.

#include <QDateTime>

namespace zarven {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// The one system clock of the program.
inline const Clock &systemClock()
{
    static const SystemClock clock;
    return clock;
}

// A clock that stands still until it is set or moved on.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime &start) : now_(start) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime &t) { now_ = t; }
    void advanceMs(qint64 ms) { now_ = now_.addMSecs(ms); }

private:
    QDateTime now_;
};

} // namespace zarven
