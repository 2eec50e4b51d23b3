#include "line_pacer.h"

#include <algorithm>

namespace zarven::sim {

LinePacer::LinePacer(int baud, Deliver deliver, QObject *parent)
    : QObject(parent), byteNs_(byteTimeNs(baud)), deliver_(std::move(deliver))
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &LinePacer::deliverDue);
}

void LinePacer::push(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (byteNs_ <= 0) {
        deliver_(bytes);
        return;
    }
    if (pending_.isEmpty()) {
        // nextDueNs_ is left one byte time past the end of the last byte
        // delivered: a burst pushed while that byte is still on the wire
        // follows it back to back, one pushed onto an idle line starts now.
        nextDueNs_ = std::max(nextDueNs_, clock_.nsecsElapsed() + byteNs_);
    }
    pending_ += bytes;
    schedule();
}

void LinePacer::clear()
{
    pending_.clear();
    timer_.stop();
}

void LinePacer::deliverDue()
{
    const qint64 now = clock_.nsecsElapsed();
    if (pending_.isEmpty() || now < nextDueNs_) {
        schedule();
        return;
    }
    const qint64 due = std::min<qint64>(pending_.size(), 1 + (now - nextDueNs_) / byteNs_);
    const QByteArray out = pending_.left(due);
    pending_.remove(0, due);
    nextDueNs_ += due * byteNs_;
    schedule();
    // Last: the callback may push more or clear.
    deliver_(out);
}

void LinePacer::schedule()
{
    if (pending_.isEmpty()) {
        timer_.stop();
        return;
    }
    const qint64 waitNs = nextDueNs_ - clock_.nsecsElapsed();
    // Rounded up: a byte never comes out before its time.
    timer_.start(int(std::max<qint64>(0, (waitNs + 999'999) / 1'000'000)));
}

} // namespace zarven::sim
