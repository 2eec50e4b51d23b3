#include "serial/packet_trace.h"

namespace zarven {

PacketTrace::PacketTrace(qsizetype capacity) : capacity_(capacity > 0 ? capacity : 1)
{
}

void PacketTrace::record(Direction direction, const QByteArray &bytes)
{
    Packet p {QDateTime::currentDateTime(), direction, bytes};
    if (ring_.size() < capacity_) {
        ring_.append(std::move(p));
        return;
    }
    ring_[next_] = std::move(p);
    next_ = (next_ + 1) % capacity_;
}

void PacketTrace::clear()
{
    ring_.clear();
    next_ = 0;
}

QList<PacketTrace::Packet> PacketTrace::packets() const
{
    return ring_.mid(next_) + ring_.mid(0, next_);
}

QByteArray PacketTrace::text() const
{
    QByteArray out;
    for (const Packet &p : packets()) {
        out += p.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
        out += p.direction == Direction::In ? " IN  " : " OUT ";
        out += p.bytes.toHex().toUpper();
        out += '\n';
    }
    return out;
}

} // namespace zarven
