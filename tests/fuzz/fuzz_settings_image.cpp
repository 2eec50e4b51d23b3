// Settings image decoder: any packet decodes without reading past its end
// (Qt's range assertions and the sanitizers watch), and the image encoded
// from the decoded window decodes to the same window.

#include "core/event_log.h"
#include "fuzz_check.h"
#include "panels_fixture.h"
#include "settings/image_encoder.h"
#include "settings/image_reader.h"
#include "window_state.h"

using namespace zarven;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::PanelsFixture &f = fuzz::PanelsFixture::instance();
    const QByteArray packet(reinterpret_cast<const char *>(data), qsizetype(size));
    EventLog log;
    f.reset();
    decodeSettingsImage(packet, f.controls(), log);
    // The image carries a date and a time only in their eight-character
    // forms (a packet without them leaves the boxes empty); give the window
    // such forms so the records after them stay in place.
    const QString time = f.controls().text(QStringLiteral("Edit_time"));
    if (f.controls().text(QStringLiteral("Edit_Date")).size() != 8 || time.size() != 8 || time.at(1) == QLatin1Char(':')) {
        f.controls().setText(QStringLiteral("Edit_Date"), QStringLiteral("01.02.03"));
        f.controls().setText(QStringLiteral("Edit_time"), QStringLiteral("04:05:06"));
    }
    const QStringList decoded = test::imageState(f.controls());

    // The write stream is the start marker, 99 99, the records, the stop
    // marker; the controller gives back the records alone.
    const QByteArray stream = encodeWriteStream(f.controls(), f.shared());
    f.reset();
    decodeSettingsImage(stream.mid(4, stream.size() - 6), f.controls(), log);
    FUZZ_CHECK(test::imageState(f.controls()) == decoded, "decode, encode, decode changed the window");
    return 0;
}
