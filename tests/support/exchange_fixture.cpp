#include "exchange_fixture.h"

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

ExchangeFixture::ExchangeFixture(const QStringList &ports, const TimerIntervals &intervals)
{
    AppOptions options;
    options.includeSystemPorts = false;
    options.extraPorts = ports;
    options.workDir = dir.path();
    options.intervals = intervals;
    form_ = std::make_unique<TForm1>(options, boxes);
}

ExchangeFixture::~ExchangeFixture() = default;

void ExchangeFixture::deliver(const QByteArray &content)
{
    const SharedValues &s = form_->shared;
    form_->ComDataPacket1.FeedBytes(s.PacketStart + content + s.PacketStop);
}

} // namespace zarven::test
