// Packet framer: the same byte stream fed in any chunking gives the same
// packets and discards, and the pending buffer stays below its limit.
//
// Input: a settings byte (case mode, marker removal, fixed size, which
// markers), a count of chunk cuts, the cuts' lengths, then the stream.

#include "fuzz_check.h"
#include "serial/framer.h"

#include <QList>

using namespace zarven;

namespace {

struct Outcome {
    QList<QByteArray> packets;
    QList<QByteArray> discards;
    QByteArray pending;
    bool operator==(const Outcome &) const = default;
};

struct Settings {
    QByteArray start;
    QByteArray stop;
    int size = 0;
    bool caseInsensitive = false;
    bool includeStrings = false;
};

Outcome feed(const Settings &s, int limit, const QByteArray &stream, const QList<int> &cuts)
{
    PacketFramer framer;
    framer.setStartString(s.start);
    framer.setStopString(s.stop);
    framer.setSize(s.size);
    framer.setCaseInsensitive(s.caseInsensitive);
    framer.setIncludeStrings(s.includeStrings);
    framer.setMaxBufferSize(limit);
    Outcome out;
    framer.setOnPacket([&out](const QByteArray &p) { out.packets << p; });
    framer.setOnDiscard([&out](const QByteArray &d) { out.discards << d; });
    qsizetype pos = 0;
    for (int i = 0; pos < stream.size(); ++i) {
        const qsizetype len = i < cuts.size() ? cuts[i] : stream.size() - pos;
        framer.FeedBytes(stream.mid(pos, len));
        pos += len;
        FUZZ_CHECK(limit <= 0 || framer.pendingBuffer().size() < limit, "buffer reached its limit");
    }
    out.pending = framer.pendingBuffer();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputReader in(data, size);
    const uint8_t mode = in.byte();
    Settings s;
    // Letter markers let the case mode matter; the program's own are FE FF
    // and FF FE.
    const bool letters = mode & 0x01;
    s.caseInsensitive = mode & 0x02;
    s.includeStrings = mode & 0x04;
    if (!(mode & 0x08))
        s.start = letters ? QByteArray("aB") : QByteArray("\xFE\xFF", 2);
    // A fixed size takes the place of the stop marker: with both, which of
    // the two ends a packet depends on the chunking by design.
    if (mode & 0x10)
        s.size = 1 + mode / 32;
    else
        s.stop = letters ? QByteArray("Cd") : QByteArray("\xFF\xFE", 2);
    const int limit = 2 + in.byte() % 64;
    QList<int> cuts(in.byte() % 32);
    for (int &cut : cuts)
        cut = 1 + in.byte() % 16;
    const QByteArray stream = in.rest();

    // Without a limit no bytes are dropped for size, so the chunking must not
    // matter at all.
    const Outcome whole = feed(s, 0, stream, {});
    FUZZ_CHECK(feed(s, 0, stream, cuts) == whole, "chunking changed the packets");
    // Byte by byte only on short streams, which keeps the target fast; the
    // cuts above cover the longer ones.
    QList<int> bytewise(qMin<qsizetype>(stream.size(), 512), 1);
    if (bytewise.size() == stream.size())
        FUZZ_CHECK(feed(s, 0, stream, bytewise) == whole, "byte-wise feeding changed the packets");

    // With a limit, whether a long packet survives depends on where a chunk
    // ends (the cut comes before the limit check), so only the bound holds.
    feed(s, limit, stream, cuts);
    return 0;
}
