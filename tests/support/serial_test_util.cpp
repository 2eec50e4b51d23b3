#include "serial_test_util.h"

#include <QEventLoop>
#include <QTimer>

#include <cstring>
#include <ctime>

namespace zarven::test {

QByteArray allByteValues()
{
    QByteArray bytes(256, '\0');
    for (int i = 0; i < 256; ++i)
        bytes[i] = char(i);
    return bytes;
}

bool spoilLineSettings(int fd)
{
    termios t {};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    t.c_iflag |= ICRNL | INLCR | ISTRIP | IXON | IXOFF | IXANY | INPCK;
    t.c_oflag |= OPOST | ONLCR;
    t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    t.c_cflag = (t.c_cflag & ~tcflag_t(CSIZE | CLOCAL)) | CS7 | PARENB | CSTOPB | CRTSCTS;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    return ::tcsetattr(fd, TCSANOW, &t) == 0 && outputSpeed(fd) == B9600;
}

speed_t outputSpeed(int fd)
{
    termios t {};
    ::tcgetattr(fd, &t);
    return ::cfgetospeed(&t);
}

double cpuSeconds()
{
    timespec ts {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double runNestedLoop(int ms)
{
    const double before = cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return cpuSeconds() - before;
}

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString comPortErrorText(int index, int code)
{
    return SerialPortError::indexText(index) + QStringLiteral(" (error code: %1, %2)").arg(code).arg(errnoText(code));
}

QByteArray Received::all() const
{
    QByteArray bytes;
    for (const QByteArray &c : chunks)
        bytes += c;
    return bytes;
}

} // namespace zarven::test
