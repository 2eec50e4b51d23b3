#include "exchange/signal_reading.h"

#include <algorithm>

namespace zarven {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

SignalReading parseSignalReply(const QByteArray &reply)
{
    SignalReading r;
    const qsizetype marker = reply.indexOf("+CSQ:");
    if (marker < 0)
        return r;
    qsizetype from = marker + 5;
    while (from < reply.size() && isBlank(reply[from]))
        ++from;
    // The level is the run of digits; what follows it (a comma and the bit
    // error rate, a line end, "OK") does not matter.
    qsizetype to = from;
    while (to < reply.size() && reply[to] >= '0' && reply[to] <= '9')
        ++to;
    // More than a few digits is no level the module can report; the limit
    // also keeps the arithmetic below far from overflow.
    r.kind = SignalReading::NoNumber;
    if (to == from || to - from > 6)
        return r;
    int n = 0;
    for (qsizetype i = from; i < to; ++i)
        n = n * 10 + (reply[i] - '0');
    r.level = n;
    r.kind = n == 99 ? SignalReading::NoService : SignalReading::Level;
    return r;
}

int signalGaugePercent(int level)
{
    // 3.22 as the exact fraction 322/100: truncation then matches decimal
    // arithmetic for every level.
    const qint64 percent = qint64(level) * 322 / 100;
    return int(std::clamp<qint64>(percent, 0, 100));
}

QString signalLabelText(int level)
{
    return QString::number(2 * qint64(level) - 113) + QStringLiteral(" dBm");
}

} // namespace zarven
