#pragma once
// Line reading of configuration files.
//
// A line ends at 0A, at 0D 0A or at the end of the file; a 0D not followed by
// 0A is dropped from the line; the byte 1A ends the file. Reading past the
// end gives empty lines.
//
// Output-time lines hold two raw bytes, which may themselves be 0A, 0D or
// 1A. They are taken as exactly their two bytes when CR LF follows them, so
// every output time loads back intact; a line of any other shape is read as
// an ordinary line. Once a line has run into a 1A byte the file has ended
// for output-time lines too.

#include <QByteArray>

namespace zarven {

class ConfigLineReader {
public:
    explicit ConfigLineReader(const QByteArray &content) : content_(content) {}

    // True when no line is left: the end of the content or a 1A byte.
    bool atEnd() const;
    QByteArray readLine();
    QByteArray readOutputTimeLine();

private:
    const QByteArray &content_;
    qsizetype pos_ = 0;
    // An ordinary line ran into a 1A byte: nothing after it is read.
    bool ended_ = false;
};

} // namespace zarven
