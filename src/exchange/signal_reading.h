#pragma once
// The controller's answer to "Sg": the GSM module's signal quality report,
// "+CSQ: rssi,ber". The level rssi (0 to 31, 99 when the module cannot tell)
// becomes a bar of n × 3.22 percent and a strength of 2n − 113 dBm.

#include <QByteArray>
#include <QString>

namespace zarven {

struct SignalReading {
    enum Kind {
        NotAReport, // no "+CSQ:" in the reply: nothing is shown
        Level,      // level holds n
        NoService,  // "99": the module cannot tell the strength ("нет связи")
        NoNumber,   // "+CSQ:" without a decimal level ("нет сигнала")
    };
    Kind kind = NotAReport;
    int level = 0;
};

// Reads the run of decimal digits that follows the first "+CSQ:" of the
// reply, blanks skipped; whatever follows the run is ignored. No digits
// there (or more than six) is NoNumber.
SignalReading parseSignalReply(const QByteArray &reply);

// n × 3.22 truncated toward zero, clamped to the gauge's 0 to 100.
int signalGaugePercent(int level);

// The decimal text of 2n − 113 followed by " dBm".
QString signalLabelText(int level);

} // namespace zarven
