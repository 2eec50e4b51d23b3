#pragma once
// Shared by the fuzz targets: a property check that stops the run with a
// message (libFuzzer then saves the input), and a reader that takes the
// target's parameters from the front of the input.

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                                    \
    do {                                                                                               \
        if (!(condition)) {                                                                            \
            std::fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", what, __FILE__, __LINE__);     \
            std::abort();                                                                              \
        }                                                                                              \
    } while (false)

namespace zarven::fuzz {

class InputReader {
public:
    InputReader(const uint8_t *data, size_t size) : bytes_(reinterpret_cast<const char *>(data), qsizetype(size)) {}

    // The next byte, 0 once the input is used up.
    uint8_t byte() { return pos_ < bytes_.size() ? uint8_t(bytes_[pos_++]) : 0; }
    // The bytes up to the next LF (not included), or to the end.
    QByteArray line()
    {
        qsizetype lf = bytes_.indexOf('\n', pos_);
        if (lf < 0)
            lf = bytes_.size();
        const QByteArray l = bytes_.mid(pos_, lf - pos_);
        pos_ = qMin(lf + 1, bytes_.size());
        return l;
    }
    QByteArray rest() const { return bytes_.mid(pos_); }

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

} // namespace zarven::fuzz
