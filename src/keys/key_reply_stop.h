#pragma once
// Where a reply of known length ends. The key table (250 bytes) and a key
// code (8 bytes) may themselves hold the stop marker FF FE; the framer's
// first-marker rule would cut them there. While such a reply is awaited, a
// stop marker before the expected length ends the packet only when a start
// marker follows it directly, or when the line has stayed quiet after it;
// otherwise its two bytes are content. A marker at or after the expected
// length ends the packet as usual, so two packets in a row stay two and a
// short reply still ends, after the quiet gap.

#include <QByteArray>
#include <QObject>
#include <functional>

class QTimer;

namespace zarven {

class PacketFramer;

// The framer's custom stop answer for a buffer that starts with the start
// marker: the packet's length including both markers, 0 while it has not
// ended, -1 when expected is 0 (no known length: the markers decide).
// quietPassed: the line has been quiet since the buffer's last byte, so a
// stop marker that ends the buffer (or is followed only by the beginning of
// a start marker) ends the packet.
qsizetype knownLengthStop(const QByteArray &buffer, const QByteArray &start, const QByteArray &stop,
                          qsizetype expected, bool quietPassed);

// Installs the rule as the framer's custom stop hook. expectedLength says,
// at each call, how many content bytes the awaited reply has (0: unknown).
// When the hook holds a packet open, a timer of quietMs re-runs the framer
// once the line has been quiet that long; run is how that re-run is called
// (the window's guard, which reports an error of a packet handler).
class KnownLengthReplies : public QObject {
    Q_OBJECT
public:
    using Runner = std::function<void(const std::function<void()> &)>;
    KnownLengthReplies(PacketFramer &framer, std::function<qsizetype()> expectedLength, int quietMs, Runner run,
                       QObject *parent = nullptr);

private:
    qsizetype decide(const QByteArray &buffer);
    void quietGap();

    PacketFramer &framer_;
    std::function<qsizetype()> expected_;
    Runner run_;
    QTimer *quiet_;
    bool quietPassed_ = false;
};

} // namespace zarven
