// Dictionary reader and writer: an entry that the writer accepts reads back
// as written (cut to the reader's limit), the writer refuses what it cannot
// keep, and every other line of the file stays byte for byte.
//
// Input: the section, the key and the value on the first three lines, then
// the file's content.

#include "core/cp1251.h"
#include "fuzz_check.h"
#include "translate/profile_file.h"

#include <QList>
#include <stdexcept>

using namespace zarven;

namespace {

// The file's lines as a reader of the format sees them: LF ends a line, and
// a CR right before it belongs to the line end.
struct Line {
    QByteArray content;
    QByteArray ending;
};

QList<Line> linesOf(const QByteArray &bytes)
{
    QList<Line> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype lf = bytes.indexOf('\n', start);
        Line line{bytes.mid(start, lf < 0 ? -1 : lf - start), lf < 0 ? QByteArray() : QByteArray("\n")};
        if (lf >= 0 && line.content.endsWith('\r')) {
            line.content.chop(1);
            line.ending = "\r\n";
        }
        lines << line;
        start = lf < 0 ? bytes.size() : lf + 1;
    }
    return lines;
}

// The new file is the old one with one line replaced, one line inserted, or
// a section and its entry appended; only a last line without a line end may
// gain one.
bool otherLinesKept(const QList<Line> &before, const QList<Line> &after)
{
    auto same = [&](qsizetype i, qsizetype j) {
        return before[i].content == after[j].content
            && (before[i].ending == after[j].ending || (i == before.size() - 1 && before[i].ending.isEmpty()));
    };
    const qsizetype added = after.size() - before.size();
    if (added < 0 || added > 2)
        return false;
    qsizetype d = 0;
    while (d < before.size() && same(d, d))
        ++d;
    if (added == 2)
        return d == before.size();
    for (qsizetype i = added == 0 ? d + 1 : d; i < before.size(); ++i) {
        if (!same(i, i + added))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputReader in(data, size);
    const QString section = fromCp1251(in.line());
    const QString key = fromCp1251(in.line());
    const QString value = fromCp1251(in.line());
    const QByteArray file = in.rest();

    const bool writable = ProfileFile::canHoldSection(section) && ProfileFile::canHoldKey(key)
        && !value.contains(QLatin1Char('\r'));
    std::optional<QByteArray> written;
    try {
        written = ProfileFile::withEntry(file, section, key, value);
    } catch (const std::invalid_argument &) {
        FUZZ_CHECK(!writable, "a writable entry refused");
        return 0;
    }
    FUZZ_CHECK(writable, "an entry that cannot be kept was written");
    const QByteArray after = written.value_or(file);
    FUZZ_CHECK(ProfileFile::readFrom(after, section, key) == value.left(ProfileFile::kMaxValueLength),
               "the written value does not read back");
    FUZZ_CHECK(otherLinesKept(linesOf(file), linesOf(after)), "a line other than the entry changed");
    return 0;
}
