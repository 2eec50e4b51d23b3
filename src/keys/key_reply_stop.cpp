#include "keys/key_reply_stop.h"

#include "serial/framer.h"

#include <QTimer>
#include <utility>

namespace zarven {

qsizetype knownLengthStop(const QByteArray &buffer, const QByteArray &start, const QByteArray &stop,
                          KnownLength expected, bool quietPassed)
{
    if (expected.bytes <= 0 || stop.isEmpty())
        return -1;
    const qsizetype body = start.size();
    qsizetype lastEnd = -1;
    for (qsizetype q = buffer.indexOf(stop, body); q >= 0; q = buffer.indexOf(stop, q + 1)) {
        const qsizetype after = q + stop.size();
        const qsizetype content = q - body;
        if (content >= expected.bytes)
            return after;
        if (expected.record > 0 && content % expected.record == 0 && !start.isEmpty()) {
            const qsizetype nextStart = buffer.indexOf(start, after);
            const qsizetype nextStop = buffer.indexOf(stop, after);
            if (nextStart >= 0 && (nextStop < 0 || nextStart <= nextStop))
                return after;
        }
        lastEnd = after;
    }
    return quietPassed ? qMax<qsizetype>(lastEnd, 0) : 0;
}

KnownLengthReplies::KnownLengthReplies(PacketFramer &framer, std::function<KnownLength()> expected, int quietMs,
                                       Runner run, QObject *parent)
    : QObject(parent), framer_(framer), expected_(std::move(expected)), run_(std::move(run)),
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
