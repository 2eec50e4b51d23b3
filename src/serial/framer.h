#pragma once
// PacketFramer: cuts the received byte stream into packets between a start
// and a stop marker. Chunks of any size go in through FeedBytes; the content
// of each complete packet, without its markers, comes out through the packet
// callback, in arrival order, before FeedBytes returns.
//
// Bytes outside a packet wait in the pending buffer until a start marker
// arrives (everything in front of it is then dropped) or until the buffer
// reaches MaxBufferSize bytes (then everything is dropped). Inside a packet
// only the stop marker is looked for, so a second start marker is content.
// The buffer belongs to the framer, not to the line: closing, reopening or
// purging the port leaves it alone.

#include <QByteArray>
#include <functional>

namespace zarven {

class PacketFramer {
public:
    using PacketHandler = std::function<void(const QByteArray &packet)>;
    using DiscardHandler = std::function<void(const QByteArray &bytes)>;
    // Asked with the whole pending buffer (start marker first) before the
    // end of an open packet is looked for. It answers a length p > 0 when
    // the packet ends after byte p, 0 when it has not ended yet, and -1 to
    // leave the decision to the size and the stop marker.
    using CustomStopHandler = std::function<qsizetype(const QByteArray &buffer)>;

    PacketFramer();

    // Setting a marker, the size or the case mode to a different value empties
    // the pending buffer; setting the value it already has changes nothing.
    void setStartString(const QByteArray &marker);
    void setStopString(const QByteArray &marker);
    void setSize(int size);
    void setCaseInsensitive(bool on);
    void setMaxBufferSize(int size) { maxBufferSize_ = size; }
    void setIncludeStrings(bool on) { includeStrings_ = on; }

    const QByteArray &startString() const { return start_; }
    const QByteArray &stopString() const { return stop_; }

    void setOnPacket(PacketHandler handler) { onPacket_ = std::move(handler); }
    void setOnDiscard(DiscardHandler handler) { onDiscard_ = std::move(handler); }
    void setOnCustomStop(CustomStopHandler handler) { onCustomStop_ = std::move(handler); }

    // Takes one chunk of received bytes. An exception thrown by the packet
    // handler propagates after the framer has made itself consistent: the
    // delivered packet is already out of the buffer and the overflow check
    // has run; packets still buffered wait for the next chunk.
    void FeedBytes(const QByteArray &chunk);

    const QByteArray &pendingBuffer() const { return buffer_; }
    bool inPacket() const { return inPacket_; }
    void empty();

private:
    void cuttingPass();
    qsizetype find(const QByteArray &haystack, const QByteArray &needle, qsizetype from = 0) const;
    // Searches the buffer for marker from position from on, skipping what an
    // earlier pass has already searched without a find, so a stream fed in
    // tiny chunks costs time in proportion to its length, not its square.
    qsizetype findNew(const QByteArray &marker, qsizetype from);
    void checkOverflow();

    QByteArray start_;
    QByteArray stop_;
    int size_ = 0;
    int maxBufferSize_ = 1024;
    bool includeStrings_ = false;
    bool caseInsensitive_ = false;

    QByteArray buffer_;
    bool inPacket_ = false;
    // How far the buffer has been searched, without a find, for the marker
    // the framer waits for now (start or stop); 0 after any change of what is
    // searched or of the buffer's front.
    qsizetype searched_ = 0;

    PacketHandler onPacket_;
    DiscardHandler onDiscard_;
    CustomStopHandler onCustomStop_;
};

} // namespace zarven
