#include "config_file/config_lines.h"

namespace zarven {

namespace {

constexpr char kEndOfFile = 0x1A;

} // namespace

bool ConfigLineReader::atEnd() const
{
    return pos_ >= content_.size() || content_.at(pos_) == kEndOfFile;
}

QByteArray ConfigLineReader::readLine()
{
    QByteArray line;
    while (!atEnd()) {
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
    if (pos_ + 4 <= content_.size() && content_.at(pos_ + 2) == '\r' && content_.at(pos_ + 3) == '\n') {
        const QByteArray pair = content_.mid(pos_, 2);
        pos_ += 4;
        return pair;
    }
    return readLine();
}

} // namespace zarven
