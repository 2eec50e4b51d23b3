#pragma once
// The markers that frame every packet on the controller's line, and a packet
// framed by them as it goes over the line.

#include <QByteArray>

namespace zarven::test {

inline const QByteArray kPacketStart("\xFE\xFF", 2);
inline const QByteArray kPacketStop("\xFF\xFE", 2);

inline QByteArray framed(const QByteArray &content)
{
    return kPacketStart + content + kPacketStop;
}

} // namespace zarven::test
