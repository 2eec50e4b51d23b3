#include "serial/framer.h"

namespace zarven {

namespace {

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

} // namespace

PacketFramer::PacketFramer() = default;

void PacketFramer::setStartString(const QByteArray &marker)
{
    if (marker == start_)
        return;
    start_ = marker;
    empty();
}

void PacketFramer::setStopString(const QByteArray &marker)
{
    if (marker == stop_)
        return;
    stop_ = marker;
    empty();
}

void PacketFramer::setSize(int size)
{
    if (size == size_)
        return;
    size_ = size;
    empty();
}

void PacketFramer::setCaseInsensitive(bool on)
{
    if (on == caseInsensitive_)
        return;
    caseInsensitive_ = on;
    empty();
}

void PacketFramer::empty()
{
    if (!buffer_.isEmpty()) {
        const QByteArray dropped = buffer_;
        // The buffer is cleared whatever the discard handler does.
        struct Clear {
            PacketFramer *self;
            ~Clear()
            {
                self->buffer_.clear();
                self->searched_ = 0;
                self->inPacket_ = false;
            }
        } clear{this};
        if (onDiscard_)
            onDiscard_(dropped);
        return;
    }
    inPacket_ = false;
}

qsizetype PacketFramer::find(const QByteArray &haystack, const QByteArray &needle, qsizetype from) const
{
    if (!caseInsensitive_)
        return haystack.indexOf(needle, from);
    // Compared in place: upper-casing copies of the buffer would cost its
    // whole length on every chunk.
    for (qsizetype i = qMax<qsizetype>(from, 0); i + needle.size() <= haystack.size(); ++i) {
        qsizetype k = 0;
        while (k < needle.size() && upperAscii(haystack[i + k]) == upperAscii(needle[k]))
            ++k;
        if (k == needle.size())
            return i;
    }
    return -1;
}

qsizetype PacketFramer::findNew(const QByteArray &marker, qsizetype from)
{
    // A marker may straddle the end of what was searched before, so the
    // search steps back by its length less one.
    const qsizetype p = find(buffer_, marker, qMax(from, searched_ - marker.size() + 1));
    searched_ = p < 0 ? buffer_.size() : 0;
    return p;
}

void PacketFramer::FeedBytes(const QByteArray &chunk)
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

void PacketFramer::checkOverflow()
{
    if (maxBufferSize_ > 0 && buffer_.size() >= maxBufferSize_)
        empty();
}

void PacketFramer::cuttingPass()
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
                const qsizetype p = findNew(start_, 0);
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
        qsizetype custom = -1;
        if (inPacket_ && onCustomStop_)
            custom = onCustomStop_(buffer_);
        if (custom > 0) {
            cut = qMin(custom, buffer_.size());
        } else if (custom == 0) {
            // The hook holds the packet open.
        } else if (inPacket_) {
            if (size_ > 0 && buffer_.size() >= size_) {
                cut = size_;
            } else {
                // The stop marker is searched only after the start marker's
                // length, so the two can never overlap.
                const qsizetype q = stop_.isEmpty() ? -1 : findNew(stop_, start_.size());
                if (q >= 0)
                    cut = q + stop_.size();
            }
        }

        if (cut < 0) {
            checkOverflow();
            return;
        }

        inPacket_ = false;
        searched_ = 0;
        QByteArray packet = buffer_.left(cut);
        buffer_.remove(0, cut);
        if (!includeStrings_) {
            if (!start_.isEmpty() && find(packet, start_) == 0)
                packet.remove(0, start_.size());
            // A packet the hook cut may hold the stop marker inside; only
            // the one that ends it is a marker.
            const qsizetype stopAt = custom > 0 ? packet.size() - stop_.size() : find(packet, stop_);
            if (!stop_.isEmpty() && packet.size() >= stop_.size() && stopAt == packet.size() - stop_.size()
                && find(packet, stop_, stopAt) == stopAt)
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
