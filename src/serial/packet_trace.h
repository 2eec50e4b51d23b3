#pragma once
// The trace of a session's exchanges for support: the last packets that went
// out on the line and came in, each with the time it passed (milliseconds)
// and its bytes. A fixed-size ring, so a long session costs no more memory
// than a short one; the oldest packets make way.

#include <QByteArray>
#include <QDateTime>
#include <QList>

namespace zarven {

class PacketTrace {
public:
    enum class Direction { In, Out };
    struct Packet {
        QDateTime time;
        Direction direction;
        QByteArray bytes;
    };

    static constexpr qsizetype kDefaultCapacity = 2000;
    explicit PacketTrace(qsizetype capacity = kDefaultCapacity);

    void record(Direction direction, const QByteArray &bytes);
    void clear();
    qsizetype capacity() const { return capacity_; }
    qsizetype size() const { return ring_.size(); }
    // Oldest first.
    QList<Packet> packets() const;
    // One line per packet: "2026-12-10 11:02:03.123 OUT FEFF5474FFFE"; UTF-8.
    QByteArray text() const;

private:
    qsizetype capacity_;
    qsizetype next_ = 0; // where the next packet goes once the ring is full
    QList<Packet> ring_;
};

} // namespace zarven
