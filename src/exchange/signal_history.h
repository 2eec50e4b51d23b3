#pragma once
// The readings of the signal monitor: every "Sg" it sent and what came of
// it, kept over a fixed span (five minutes in the program), and what the
// monitor window and the batch watch make of them: the band of a level,
// min / average / max, the counts of readings and failures, the CSV rows and
// the printed lines.

#include <QByteArray>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

namespace zarven {

struct SignalSample {
    enum Kind {
        Level,      // csq holds the level
        NoService,  // the module cannot tell ("99", "нет связи")
        NoNumber,   // "+CSQ:" without a level ("нет сигнала")
        WrongReply, // a reply without "+CSQ:"
        TimedOut,   // no reply in time
    };
    qint64 atMs = 0; // wall clock, milliseconds since the epoch
    Kind kind = Level;
    int csq = 0; // the level; 99 for NoService

    bool hasLevel() const { return kind == Level; }
    int dbm() const { return 2 * csq - 113; }
};

// Translates a Russian caption into the window's language; empty: as is.
using CaptionFunction = std::function<QString(const QString &)>;

// The band of a level: 0-9 "плохо", 10-14 "удовлетворительно", 15-19
// "хорошо", 20-31 "отлично", 99 "нет связи". Empty for any other number: no
// level the module reports.
QString signalBand(int csq);

// In words: the band of a level, otherwise what went wrong.
QString sampleText(const SignalSample &sample);

struct SignalStats {
    // The history's: since the last reset, whatever the span.
    int readings = 0; // every reading, failures included
    int failures = 0; // readings without a level
    // Over the readings with a level (the history's: in the span since the
    // last reset); meaningful only when spanLevels > 0.
    int spanLevels = 0;
    int minDbm = 0;
    int maxDbm = 0;
    qint64 sumDbm = 0;

    double averageDbm() const { return spanLevels > 0 ? double(sumDbm) / spanLevels : 0.0; }
    // Counts a reading in every figure.
    void add(const SignalSample &sample);
    // Counts its level, if any, in min / average / max only.
    void addLevel(const SignalSample &sample);
};

class SignalHistory {
public:
    // Whatever the span, no more than this many samples are kept.
    static constexpr int kMaxSamples = 2000;

    explicit SignalHistory(qint64 spanMs = 5 * 60 * 1000) : spanMs_(spanMs) {}

    qint64 spanMs() const { return spanMs_; }
    void setSpanMs(qint64 spanMs);

    // Adds the newest sample and drops those older than the span before it.
    void add(const SignalSample &sample);
    const std::deque<SignalSample> &samples() const { return samples_; }

    // The figures start over from the next sample on; the samples stay.
    void resetStats();
    SignalStats stats() const;

    // The average level of up to n samples with a level before the newest
    // sample; nothing when there is none.
    std::optional<double> averageBeforeNewest(int n) const;

private:
    void dropOld();

    qint64 spanMs_;
    std::deque<SignalSample> samples_;
    int readings_ = 0;
    int failures_ = 0;
    // Samples ever added, and how many of them came before the last reset
    // (those are left out of min / average / max).
    qint64 added_ = 0;
    qint64 statsFrom_ = 0;
};

// "time;CSQ;dBm;band" and a row per sample (the failures without dBm), in
// code page 1251, each line ended by CR LF.
QByteArray signalCsvHeader();
QByteArray signalCsvRow(const SignalSample &sample, const CaptionFunction &caption = {});

// One line of the batch watch: "14:03:07  CSQ 17  -79 dBm  54%  хорошо".
QString signalWatchLine(const SignalSample &sample, const CaptionFunction &caption = {});
// "мин -95 dBm  сред -79.5 dBm  макс -63 dBm  измерений 12  сбоев 1".
QString signalStatsLine(const SignalStats &stats, const CaptionFunction &caption = {});

} // namespace zarven
