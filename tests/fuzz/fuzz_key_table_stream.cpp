// Key table stream builder: for any grid texts, a table that passes the
// check frames as exactly one packet holding its records, whatever bytes
// the descriptions and codes become.
//
// Input: the description and the code of rows 1 to 10, one per line.

#include "core/cp1251.h"
#include "fuzz_check.h"
#include "keys/key_table.h"
#include "serial/framer.h"

#include <QList>

using namespace zarven;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputReader in(data, size);
    KeyRows rows;
    for (KeyRow &row : rows) {
        row.description = fromCp1251(in.line());
        row.code = fromCp1251(in.line());
    }
    if (checkKeyTable(rows))
        return 0;
    const QByteArray start("\xFE\xFF", 2);
    const QByteArray stop("\xFF\xFE", 2);
    const QByteArray records = keyTableRecords(rows);
    PacketFramer framer;
    framer.setStartString(start);
    framer.setStopString(stop);
    QList<QByteArray> packets;
    framer.setOnPacket([&packets](const QByteArray &p) { packets << p; });
    framer.FeedBytes(keyTableStream(rows, start, stop));
    FUZZ_CHECK(packets == QList<QByteArray>{records}, "the stream does not frame as its records");
    FUZZ_CHECK(framer.pendingBuffer().isEmpty(), "bytes left after the stream");
    return 0;
}
