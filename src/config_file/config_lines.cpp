#include "config_file/config_lines.h"

namespace zarven {

namespace {

constexpr char kEndOfFile = 0x1A;

} // namespace

bool ConfigLineReader::atEnd() const
{
    return ended_ || pos_ >= content_.size() || content_.at(pos_) == kEndOfFile;
}

QByteArray ConfigLineReader::readLine()
{
    QByteArray line;
    for (;;) {
        if (atEnd()) {
            // A 1A byte ends the file, whatever reads next.
            ended_ = pos_ < content_.size();
            break;
        }
        const char c = content_.at(pos_++);
        if (c == '\n')
            break;
        if (c == '\r') {
            if (pos_ < content_.size() && content_.at(pos_) == '\n') {
                ++pos_;
                break;
            }
            continue;
        }
        line += c;
    }
    return line;
}

QByteArray ConfigLineReader::readOutputTimeLine()
{
    if (!ended_ && pos_ + 4 <= content_.size() && content_.at(pos_ + 2) == '\r' && content_.at(pos_ + 3) == '\n') {
        const QByteArray pair = content_.mid(pos_, 2);
        pos_ += 4;
        return pair;
    }
    return readLine();
}

} // namespace zarven
