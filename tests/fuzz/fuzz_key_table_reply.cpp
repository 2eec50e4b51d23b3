// Key table reply parser: any reply to "Cn" cuts into rows without a crash;
// when the rows may be written back, every key code read is written back
// unchanged, and the written table reads back to the same records.

#include "fuzz_check.h"
#include "keys/key_table.h"

using namespace zarven;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    KeyRows rows;
    const int used = parseKeyTable(reply, rows);
    FUZZ_CHECK(used >= 0 && used <= qMin<qsizetype>(reply.size(), kKeyTableBytes), "more bytes used than given");
    if (checkKeyTable(rows))
        return 0;
    const QByteArray records = keyTableRecords(rows);
    FUZZ_CHECK(records.size() == kKeyTableBytes, "records of the wrong length");
    KeyRows again;
    FUZZ_CHECK(parseKeyTable(records, again) == kKeyTableBytes, "written records do not parse whole");
    for (int row = 0; row < used / kKeyRecordBytes; ++row)
        FUZZ_CHECK(again[row].code == rows[row].code, "a key code changed on its way back");
    FUZZ_CHECK(keyTableRecords(again) == records, "the table read back is written differently");
    return 0;
}
