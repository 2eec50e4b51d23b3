#include "exchange/signal_history.h"

#include "core/cp1251.h"
#include "exchange/signal_reading.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>

namespace zarven {

namespace {

QString in(const CaptionFunction &caption, const QString &russian)
{
    return caption ? caption(russian) : russian;
}

QString dbmText(double dbm, int decimals)
{
    return QString::number(dbm, 'f', decimals) + QStringLiteral(" dBm");
}

} // namespace

QString signalBand(int csq)
{
    if (csq == 99)
        return QStringLiteral("нет связи");
    if (csq < 0 || csq > 31)
        return {};
    if (csq <= 9)
        return QStringLiteral("плохо");
    if (csq <= 14)
        return QStringLiteral("удовлетворительно");
    if (csq <= 19)
        return QStringLiteral("хорошо");
    return QStringLiteral("отлично");
}

QString sampleText(const SignalSample &sample)
{
    switch (sample.kind) {
    case SignalSample::Level:
        return signalBand(sample.csq);
    case SignalSample::NoService:
        return QStringLiteral("нет связи");
    case SignalSample::NoNumber:
        return QStringLiteral("нет сигнала");
    case SignalSample::WrongReply:
        return QStringLiteral("ответ без уровня сигнала");
    case SignalSample::TimedOut:
        return QStringLiteral("нет ответа");
    }
    return {};
}

void SignalStats::add(const SignalSample &sample)
{
    ++readings;
    if (!sample.hasLevel())
        ++failures;
    addLevel(sample);
}

void SignalStats::addLevel(const SignalSample &sample)
{
    if (!sample.hasLevel())
        return;
    const int dbm = sample.dbm();
    minDbm = spanLevels == 0 ? dbm : std::min(minDbm, dbm);
    maxDbm = spanLevels == 0 ? dbm : std::max(maxDbm, dbm);
    sumDbm += dbm;
    ++spanLevels;
}

void SignalHistory::setSpanMs(qint64 spanMs)
{
    spanMs_ = spanMs;
    dropOld();
}

void SignalHistory::add(const SignalSample &sample)
{
    samples_.push_back(sample);
    ++added_;
    ++readings_;
    if (!sample.hasLevel())
        ++failures_;
    dropOld();
}

void SignalHistory::dropOld()
{
    if (samples_.empty())
        return;
    const qint64 oldest = samples_.back().atMs - spanMs_;
    while (!samples_.empty() && (samples_.front().atMs < oldest || samples_.size() > size_t(kMaxSamples)))
        samples_.pop_front();
}

void SignalHistory::resetStats()
{
    readings_ = 0;
    failures_ = 0;
    statsFrom_ = added_;
}

SignalStats SignalHistory::stats() const
{
    SignalStats s;
    s.readings = readings_;
    s.failures = failures_;
    // The serial number of the oldest sample kept.
    qint64 serial = added_ - qint64(samples_.size());
    for (const SignalSample &sample : samples_)
        if (serial++ >= statsFrom_)
            s.addLevel(sample);
    return s;
}

std::optional<double> SignalHistory::averageBeforeNewest(int n) const
{
    if (samples_.size() < 2 || n <= 0)
        return std::nullopt;
    qint64 sum = 0;
    int count = 0;
    for (auto it = std::next(samples_.rbegin()); it != samples_.rend() && count < n; ++it) {
        if (!it->hasLevel())
            continue;
        sum += it->dbm();
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return double(sum) / count;
}

QByteArray signalCsvHeader()
{
    return QByteArrayLiteral("time;CSQ;dBm;band\r\n");
}

QByteArray signalCsvRow(const SignalSample &sample, const CaptionFunction &caption)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(sample.atMs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString csq;
    QString dbm;
    if (sample.hasLevel()) {
        csq = QString::number(sample.csq);
        dbm = QString::number(sample.dbm());
    } else if (sample.kind == SignalSample::NoService) {
        csq = QStringLiteral("99");
    }
    const QString row = QStringList{time, csq, dbm, in(caption, sampleText(sample))}.join(QLatin1Char(';'));
    return toCp1251(row) + "\r\n";
}

QString signalWatchLine(const SignalSample &sample, const CaptionFunction &caption)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(sample.atMs).toString(QStringLiteral("HH:mm:ss"));
    QStringList parts{time};
    if (sample.hasLevel()) {
        parts << QStringLiteral("CSQ %1").arg(sample.csq) << dbmText(sample.dbm(), 0)
              << QStringLiteral("%1%").arg(signalGaugePercent(sample.csq));
    } else if (sample.kind == SignalSample::NoService) {
        parts << QStringLiteral("CSQ 99");
    }
    const QString text = in(caption, sampleText(sample));
    if (!text.isEmpty())
        parts << text;
    return parts.join(QStringLiteral("  "));
}

QString signalStatsLine(const SignalStats &stats, const CaptionFunction &caption)
{
    const QString none = in(caption, QStringLiteral("нет данных"));
    const bool any = stats.spanLevels > 0;
    return QStringList{
        in(caption, QStringLiteral("мин")) + QLatin1Char(' ') + (any ? dbmText(stats.minDbm, 0) : none),
        in(caption, QStringLiteral("сред")) + QLatin1Char(' ') + (any ? dbmText(stats.averageDbm(), 1) : none),
        in(caption, QStringLiteral("макс")) + QLatin1Char(' ') + (any ? dbmText(stats.maxDbm, 0) : none),
        in(caption, QStringLiteral("измерений")) + QLatin1Char(' ') + QString::number(stats.readings),
        in(caption, QStringLiteral("сбоев")) + QLatin1Char(' ') + QString::number(stats.failures),
    }
        .join(QStringLiteral("  "));
}

} // namespace zarven
