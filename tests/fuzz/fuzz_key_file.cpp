// Key file loader: any file loads without a crash, and the file saved from
// the loaded rows loads to the same rows (a line end or end-of-file byte in
// a text is saved as a blank, as the format needs).

#include "fuzz_check.h"
#include "keys/key_file.h"

using namespace zarven;

namespace {

QString asSaved(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x1A))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    KeyRows rows;
    loadKeyFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), rows);
    for (KeyRow &row : rows)
        row = {asSaved(row.description), asSaved(row.code)};
    KeyRows again;
    FUZZ_CHECK(loadKeyFile(keyFileContent(rows), again).ok, "a saved key file does not load");
    FUZZ_CHECK(again == rows, "load, save, load changed the keys");
    return 0;
}
