#include "serial/framer.h"

namespace zarven {

namespace {

QByteArray upperAscii(QByteArray bytes)
{
    for (char &c : bytes)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return bytes;
}

} // namespace

TComDataPacket::TComDataPacket() = default;

void TComDataPacket::setStartString(const QByteArray &marker)
{
    if (marker == start_)
        return;
    start_ = marker;
    empty();
}

void TComDataPacket::setStopString(const QByteArray &marker)
{
    if (marker == stop_)
        return;
    stop_ = marker;
    empty();
}

void TComDataPacket::setSize(int size)
{
    if (size == size_)
        return;
    size_ = size;
    empty();
}

void TComDataPacket::setCaseInsensitive(bool on)
{
    if (on == caseInsensitive_)
        return;
    caseInsensitive_ = on;
    empty();
}

void TComDataPacket::empty()
{
    if (!buffer_.isEmpty()) {
        const QByteArray dropped = buffer_;
        // The buffer is cleared whatever the discard handler does.
        struct Clear {
            TComDataPacket *self;
            ~Clear()
            {
                self->buffer_.clear();
                self->inPacket_ = false;
            }
        } clear{this};
        if (onDiscard_)
            onDiscard_(dropped);
        return;
    }
    inPacket_ = false;
}

qsizetype TComDataPacket::find(const QByteArray &haystack, const QByteArray &needle, qsizetype from) const
{
    if (caseInsensitive_)
        return upperAscii(haystack).indexOf(upperAscii(needle), from);
    return haystack.indexOf(needle, from);
}

void TComDataPacket::FeedBytes(const QByteArray &chunk)
{
    const bool hasStopCondition = size_ > 0 || !stop_.isEmpty();
    if (!hasStopCondition) {
        if (onPacket_)
            onPacket_(chunk);
        return;
    }
    buffer_.append(chunk);
    cuttingPass();
}

void TComDataPacket::checkOverflow()
{
    if (maxBufferSize_ > 0 && buffer_.size() >= maxBufferSize_)
        empty();
}

void TComDataPacket::cuttingPass()
{
    // Each round of this loop is one cutting pass; a pass that cut a packet
    // is followed by another on the rest of the buffer. The overflow check
    // comes once, after the last pass: checked between two packets, it would
    // drop a long packet that arrived complete behind a short one.
    for (;;) {
        if (!inPacket_) {
            if (start_.isEmpty()) {
                inPacket_ = true;
            } else {
                const qsizetype p = find(buffer_, start_);
                if (p >= 0) {
                    inPacket_ = true;
                    if (p > 0) {
                        const QByteArray dropped = buffer_.left(p);
                        buffer_.remove(0, p);
                        if (onDiscard_)
                            onDiscard_(dropped);
                    }
                }
            }
        }

        qsizetype cut = -1;
        if (inPacket_) {
            if (size_ > 0 && buffer_.size() >= size_) {
                cut = size_;
            } else {
                // The stop marker is searched only after the start marker's
                // length, so the two can never overlap.
                const qsizetype q = stop_.isEmpty() ? -1 : find(buffer_, stop_, start_.size());
                if (q >= 0)
                    cut = q + stop_.size();
            }
        }

        if (cut < 0) {
            checkOverflow();
            return;
        }

        inPacket_ = false;
        QByteArray packet = buffer_.left(cut);
        buffer_.remove(0, cut);
        if (!includeStrings_) {
            if (!start_.isEmpty() && find(packet, start_) == 0)
                packet.remove(0, start_.size());
            if (!stop_.isEmpty() && packet.size() >= stop_.size()
                && find(packet, stop_) == packet.size() - stop_.size())
                packet.chop(stop_.size());
        }
        try {
            if (onPacket_)
                onPacket_(packet);
        } catch (...) {
            checkOverflow();
            throw;
        }
    }
}

} // namespace zarven
