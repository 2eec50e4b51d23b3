#pragma once
// Where a reply of known length ends. The key table (250 bytes) and a key
// code (8 bytes) may themselves hold the stop marker FF FE; the framer's
// first-marker rule would cut them there. While such a reply is awaited, a
// stop marker before the expected length is content unless:
//  - the reply is a run of records (the key table), the marker sits at a
//    record boundary and a start marker follows it before the next stop
//    marker: the controller has sent its table in several packets, with or
//    without bytes (CR LF, a stray byte) between them;
//  - the line has stayed quiet: the packet then ends at the last stop marker
//    in the buffer, and whatever follows it is outside any packet.
// A marker at or after the expected length ends the packet as usual.

#include <QByteArray>
#include <QObject>
#include <functional>

class QTimer;

namespace zarven {

class PacketFramer;

// The reply a state waits for.
struct KnownLength {
    qsizetype bytes = 0;  // content bytes of a whole reply; 0: not known, the markers decide
    qsizetype record = 0; // > 0: the reply is a run of records this long, and may come in several packets
};

// The framer's custom stop answer for a buffer that starts with the start
// marker: the packet's length including both markers, 0 while it has not
// ended, -1 when no length is known. quietPassed: the line has been quiet
// since the buffer's last byte.
qsizetype knownLengthStop(const QByteArray &buffer, const QByteArray &start, const QByteArray &stop,
                          KnownLength expected, bool quietPassed);

// Installs the rule as the framer's custom stop hook. expected says, at each
// call, what the awaited reply is. When the hook holds a packet open, a timer
// of quietMs re-runs the framer once the line has been quiet that long; run
// is how that re-run is called (the window's guard, which reports an error
// of a packet handler).
class KnownLengthReplies : public QObject {
    Q_OBJECT
public:
    using Runner = std::function<void(const std::function<void()> &)>;
    KnownLengthReplies(PacketFramer &framer, std::function<KnownLength()> expected, int quietMs, Runner run,
                       QObject *parent = nullptr);

private:
    qsizetype decide(const QByteArray &buffer);
    void quietGap();

    PacketFramer &framer_;
    std::function<KnownLength()> expected_;
    Runner run_;
    QTimer *quiet_;
    bool quietPassed_ = false;
};

} // namespace zarven
