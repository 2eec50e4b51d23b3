#include "keys/key_reply_stop.h"

#include "serial/framer.h"

#include <QTimer>
#include <utility>

namespace zarven {

qsizetype knownLengthStop(const QByteArray &buffer, const QByteArray &start, const QByteArray &stop,
                          qsizetype expected, bool quietPassed)
{
    if (expected <= 0 || stop.isEmpty())
        return -1;
    const qsizetype body = start.size();
    for (qsizetype q = buffer.indexOf(stop, body); q >= 0; q = buffer.indexOf(stop, q + 1)) {
        const qsizetype after = q + stop.size();
        if (q - body >= expected)
            return after;
        const QByteArray next = buffer.mid(after, start.size());
        if (!start.isEmpty() && next == start)
            return after;
        // Nothing, or only part of a start marker, has followed yet: the
        // marker ends the packet if the line stays quiet.
        if (next.isEmpty() || start.startsWith(next))
            return quietPassed ? after : 0;
    }
    return 0;
}

KnownLengthReplies::KnownLengthReplies(PacketFramer &framer, std::function<qsizetype()> expectedLength, int quietMs,
                                       Runner run, QObject *parent)
    : QObject(parent), framer_(framer), expected_(std::move(expectedLength)), run_(std::move(run)),
      quiet_(new QTimer(this))
{
    quiet_->setSingleShot(true);
    quiet_->setInterval(quietMs);
    connect(quiet_, &QTimer::timeout, this, &KnownLengthReplies::quietGap);
    framer_.setOnCustomStop([this](const QByteArray &buffer) { return decide(buffer); });
}

qsizetype KnownLengthReplies::decide(const QByteArray &buffer)
{
    // The quiet gap counts for the first decision after it only.
    const bool quiet = std::exchange(quietPassed_, false);
    const qsizetype cut = knownLengthStop(buffer, framer_.startString(), framer_.stopString(), expected_(), quiet);
    // Every hold restarts the gap: it is measured from the last byte.
    if (cut == 0)
        quiet_->start();
    return cut;
}

void KnownLengthReplies::quietGap()
{
    if (!framer_.inPacket())
        return;
    quietPassed_ = true;
    // An empty feed runs the cutting pass again over what is buffered.
    run_([this] { framer_.FeedBytes(QByteArray()); });
    quietPassed_ = false;
}

} // namespace zarven
