#include "exchange_fixture.h"

#include "pty_pair.h"

#include <QDeadlineTimer>
#include <QTest>

namespace zarven::test {

TimerIntervals fastIntervals()
{
    TimerIntervals t;
    t.scanStepMs = 120;
    t.clockMs = 1000;
    t.responseTimeoutMs = 400;
    t.idleCloseMs = 60;
    t.signalPollMs = 10;
    t.signalPolls = 40;
    return t;
}

QByteArray readWhileRunning(PtyPair &pty, qsizetype n, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QByteArray got;
    while (got.size() < n && !deadline.hasExpired()) {
        QTest::qWait(2);
        got += pty.readMaster(n - got.size(), 0);
    }
    return got;
}

ExchangeFixture::ExchangeFixture(const QStringList &ports, const TimerIntervals &intervals)
{
    AppOptions options;
    options.includeSystemPorts = false;
    options.extraPorts = ports;
    options.workDir = dir.path();
    options.intervals = intervals;
    form_ = std::make_unique<MainWindow>(options, boxes);
}

ExchangeFixture::~ExchangeFixture() = default;

void ExchangeFixture::deliver(const QByteArray &content)
{
    const SharedValues &s = form_->shared;
    form_->framer.FeedBytes(s.PacketStart + content + s.PacketStop);
}

} // namespace zarven::test
