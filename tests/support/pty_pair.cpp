#include "pty_pair.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zarven::test {

PtyPair::PtyPair(bool holdSlave)
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error_ = QStringLiteral("posix_openpt: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const char *name = nullptr;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || (name = ::ptsname(fd)) == nullptr) {
        error_ = QStringLiteral("pseudo-terminal set-up: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    // The master's own line discipline starts raw. Settings requests on the
    // master reach the slave, so this makes the slave pass bytes unchanged
    // too, also for code that opens it without setting it up.
    termios t {};
    if (::tcgetattr(fd, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    master_ = fd;

    if (holdSlave) {
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave_ < 0)
            error_ = QStringLiteral("open %1: %2").arg(slavePath_, QString::fromLocal8Bit(std::strerror(errno)));
    }
}

PtyPair::~PtyPair()
{
    if (slave_ >= 0)
        ::close(slave_);
    closeMaster();
}

void PtyPair::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

bool PtyPair::writeMaster(const QByteArray &bytes, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
        pollfd p {master_, POLLOUT, 0};
        ::poll(&p, 1, int(deadline.remainingTime()));
    }
    return true;
}

QByteArray PtyPair::readMaster(qint64 n, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QByteArray out;
    char buffer[4096];
    while (out.size() < n) {
        const ssize_t got = ::read(master_, buffer, size_t(std::min<qint64>(n - out.size(), sizeof buffer)));
        if (got > 0) {
            out.append(buffer, got);
            continue;
        }
        if (got < 0 && errno != EAGAIN && errno != EINTR)
            break;
        if (deadline.hasExpired())
            break;
        pollfd p {master_, POLLIN, 0};
        ::poll(&p, 1, int(deadline.remainingTime()));
    }
    return out;
}

QByteArray PtyPair::drainMaster(int settleMs)
{
    QByteArray out;
    char buffer[4096];
    for (;;) {
        pollfd p {master_, POLLIN, 0};
        if (::poll(&p, 1, settleMs) <= 0 || !(p.revents & POLLIN))
            return out;
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got <= 0)
            return out;
        out.append(buffer, got);
    }
}

int PtyPair::slaveQueued() const
{
    int queued = 0;
    if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &queued) != 0)
        return -1;
    return queued;
}

bool PtyPair::waitSlaveQueued(int n, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    // The kernel moves master writes to the slave in a worker: poll briefly.
    while (slaveQueued() < n) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    return true;
}

qint64 PtyPair::fillSlaveOutput()
{
    if (slave_ < 0)
        return 0;
    qint64 total = 0;
    QByteArray block(4096, 'x');
    for (int quiet = 0; quiet < 3;) {
        const ssize_t n = ::write(slave_, block.constData(), size_t(block.size()));
        if (n > 0) {
            total += n;
            quiet = 0;
        } else {
            // The flip buffers drain into the master's queue in a worker;
            // retry a few times until nothing more is taken.
            ++quiet;
            QThread::msleep(20);
        }
    }
    return total;
}

} // namespace zarven::test
