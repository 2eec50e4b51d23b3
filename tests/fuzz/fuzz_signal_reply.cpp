// Signal reply parser: any reply gives one of the four outcomes, a level
// only from the digits that follow the report's marker, and a bar within
// the gauge.

#include "exchange/signal_reading.h"
#include "fuzz_check.h"

using namespace zarven;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    const SignalReading r = parseSignalReply(reply);
    const qsizetype marker = reply.indexOf("+CSQ:");
    FUZZ_CHECK((marker < 0) == (r.kind == SignalReading::NotAReport), "report recognised without its marker");
    if (r.kind == SignalReading::NoService)
        FUZZ_CHECK(r.level == 99, "no-service reading without level 99");
    if (r.kind != SignalReading::Level)
        return 0;
    FUZZ_CHECK(r.level >= 0 && r.level != 99, "level out of its range");
    FUZZ_CHECK(reply.indexOf(QByteArray::number(r.level), marker) > marker, "level not read after the marker");
    const int percent = signalGaugePercent(r.level);
    FUZZ_CHECK(percent >= 0 && percent <= 100, "bar outside the gauge");
    FUZZ_CHECK(signalLabelText(r.level).endsWith(QStringLiteral(" dBm")), "label without its unit");
    return 0;
}
