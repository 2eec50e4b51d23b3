// The Linux serial backend: termios on a device path, a read notifier on the
// descriptor for the hand-over, and the port list from sysfs.
//
// The descriptor is always non-blocking: opening must not wait for a carrier,
// reads return at once with what is queued (VMIN = VTIME = 0), and writes wait
// in poll() so that the write time-out can be kept.

#include "serial/comport.h"
#include "serial/port_list_linux.h"
#include "serial/serial_backend.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace zarven {

namespace {

using Clock = std::chrono::steady_clock;

// errno values after which the device is gone for good (unplugged adapter,
// hung-up line): retrying cannot help, the port must be closed.
bool meansLineGone(int code)
{
    return code == EIO || code == ENXIO || code == ENODEV;
}

// Closes a descriptor that failed to become the line. The exclusive flag
// outlives the descriptor on a pseudo-terminal whose other end stays open, so
// it is cleared first: a failed open must not lock others out of the device.
class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    ~FdGuard()
    {
        if (fd_ < 0)
            return;
        if (exclusive_)
            ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    void setExclusive() { exclusive_ = true; }
    FdGuard(const FdGuard &) = delete;
    FdGuard &operator=(const FdGuard &) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
    bool exclusive_ = false;
};

// 38400 bit/s, 8 data bits, no parity, 1 stop bit, no flow control of either
// kind, raw in both directions (zero bytes, CR and LF pass untouched, no
// echo, no signals), reads that never wait. Throws SerialPortError (index 7).
void applyLineSettings(int fd)
{
    termios t {};
    if (::tcgetattr(fd, &t) != 0)
        throw SerialPortError(SerialPortError::SetStateFailed, errno);
    ::cfmakeraw(&t);
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK | IGNPAR);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, B38400) != 0 || ::cfsetospeed(&t, B38400) != 0)
        throw SerialPortError(SerialPortError::SetStateFailed, errno);
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
        throw SerialPortError(SerialPortError::SetStateFailed, errno);

    // tcsetattr succeeds when any part of the request was taken; a driver
    // that refused the speed or the frame would fail silently otherwise.
    termios back {};
    if (::tcgetattr(fd, &back) != 0)
        throw SerialPortError(SerialPortError::SetStateFailed, errno);
    const tcflag_t frame = CSIZE | PARENB | CSTOPB | CRTSCTS;
    if (::cfgetospeed(&back) != B38400 || (back.c_cflag & frame) != CS8)
        throw SerialPortError(SerialPortError::SetStateFailed);
}

// DTR and RTS held inactive. Throws SerialPortError (index 7).
void lowerModemLines(int fd)
{
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIC, &lines) == 0)
        return;
    // A pseudo-terminal (and some adapters) has no modem lines and answers
    // ENOTTY or EINVAL: that means "not supported", not a failure.
    if (errno == ENOTTY || errno == EINVAL)
        return;
    throw SerialPortError(SerialPortError::SetStateFailed, errno);
}

// Whether the driver still holds bytes to send. A pseudo-terminal always
// answers none: what is written is at the far end at once. A driver that
// cannot tell counts as holding some.
bool outputQueued(int fd)
{
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued > 0;
}

// The queue to flush for a purge of input and output. Output is flushed only
// while the driver holds some: a pseudo-terminal reports its queue empty, yet
// flushing it throws away what the far end has not read yet, bytes that a
// real line would already have delivered (a command written just before the
// port closes would be lost).
int flushSelector(int fd, bool input, bool output)
{
    const bool out = output && outputQueued(fd);
    if (input && out)
        return TCIOFLUSH;
    if (input)
        return TCIFLUSH;
    return out ? TCOFLUSH : -1;
}

// Waits until the driver has sent everything written, or the deadline has
// passed. tcdrain() itself takes no time limit, so the queue is watched and
// tcdrain() called only once it is empty, for the last bytes leaving the
// UART.
void waitUntilSent(int fd, Clock::time_point deadline)
{
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0)
            queued = 0; // a driver without the count: tcdrain() decides
        if (queued <= 0) {
            while (::tcdrain(fd) != 0 && errno == EINTR) {
            }
            return;
        }
        const qint64 left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return;
        // About the time the queued bytes take at 38400 bit/s.
        const qint64 expected = queued / 4 + 1;
        ::poll(nullptr, 0, int(std::min<qint64>({expected, left, INT_MAX})));
    }
}

class LinuxSerialBackend final : public SerialBackend {
public:
    ~LinuxSerialBackend() override { close(); }

    void open(const QString &name) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    void purge(bool input, bool output) override;
    qint64 write(const QByteArray &bytes, qint64 timeoutMs) override;
    QByteArray read(qint64 max) override;
    bool lineFailed() const override { return lineFailed_; }
    QString lineFailure() const override { return lineFailure_; }
    void setReadyCallback(std::function<void()> callback) override { callback_ = std::move(callback); }
    void setReadyNotification(bool enabled) override;
    QStringList systemPorts() const override;

private:
    [[noreturn]] void fail(int index, int code);
    [[noreturn]] void failHungUp(int index);

    int fd_ = -1;
    // One notifier for the backend's lifetime, pointed at each new
    // descriptor: it is never deleted under a hand-over that is emitting it.
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> callback_;
    bool lineFailed_ = false;
    QString lineFailure_;
};

void LinuxSerialBackend::open(const QString &name)
{
    if (fd_ >= 0)
        return;
    lineFailed_ = false;
    lineFailure_.clear();

    const QByteArray path = QFile::encodeName(name);
    int raw;
    do
        raw = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    while (raw < 0 && errno == EINTR);
    if (raw < 0)
        throw SerialPortError(SerialPortError::OpenFailed, errno);
    FdGuard fd(raw);

    // Exclusive use: the advisory lock keeps out every program that locks
    // (also a second instance of this tool, whoever runs it); TIOCEXCL makes
    // the kernel refuse further opens by anyone but root.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        // The lock is held by another open of the device: it is busy.
        throw SerialPortError(SerialPortError::OpenFailed, code == EWOULDBLOCK ? EBUSY : code);
    }
    termios probe {};
    if (::tcgetattr(fd.get(), &probe) != 0) // not a terminal device at all
        throw SerialPortError(SerialPortError::SetStateFailed, errno);
    if (::ioctl(fd.get(), TIOCEXCL) != 0)
        throw SerialPortError(SerialPortError::OpenFailed, errno);
    fd.setExclusive();

    applyLineSettings(fd.get());
    // After the settings: with the line configured, lowering DTR and RTS
    // cannot be undone by the settings call raising them again.
    lowerModemLines(fd.get());

    fd_ = fd.release();
    if (!notifier_) {
        notifier_ = std::make_unique<QSocketNotifier>(QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
            if (callback_)
                callback_();
        });
    }
    notifier_->setSocket(fd_); // leaves it disabled until asked
}

void LinuxSerialBackend::close()
{
    if (fd_ < 0)
        return;
    if (notifier_)
        notifier_->setSocket(-1); // disables it; safe while it is emitting
    // Discarding unsent output keeps close() from waiting for the driver to
    // drain it. Errors do not matter here: a hung-up line answers EIO.
    ::tcflush(fd_, flushSelector(fd_, true, true));
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_); // also releases the lock
    fd_ = -1;
}

void LinuxSerialBackend::setReadyNotification(bool enabled)
{
    if (fd_ >= 0 && notifier_)
        notifier_->setEnabled(enabled);
}

void LinuxSerialBackend::fail(int index, int code)
{
    if (meansLineGone(code)) {
        lineFailed_ = true;
        lineFailure_ = SerialPortError(index, code).message();
    }
    throw SerialPortError(index, code);
}

void LinuxSerialBackend::failHungUp(int index)
{
    lineFailed_ = true;
    lineFailure_ = QStringLiteral("The line hung up (device unplugged or far end closed)");
    throw SerialPortError(index);
}

void LinuxSerialBackend::purge(bool input, bool output)
{
    if (fd_ < 0)
        throw SerialPortError(SerialPortError::PurgeFailed, EBADF);
    const int queue = flushSelector(fd_, input, output);
    if (queue < 0)
        return;
    if (::tcflush(fd_, queue) != 0)
        fail(SerialPortError::PurgeFailed, errno);
}

qint64 LinuxSerialBackend::write(const QByteArray &bytes, qint64 timeoutMs)
{
    if (fd_ < 0)
        throw SerialPortError(SerialPortError::WriteFailed, EBADF);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max<qint64>(timeoutMs, 0));
    const char *data = bytes.constData();
    const qint64 total = bytes.size();
    qint64 written = 0;
    bool hangUpSeen = false;

    while (written < total) {
        const ssize_t n = ::write(fd_, data + written, size_t(total - written));
        if (n > 0) {
            written += n;
            hangUpSeen = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            fail(SerialPortError::WriteFailed, errno);
        // The driver's queue is full. A line that reported a hang-up and
        // still takes nothing is gone; waiting for it would spin.
        if (hangUpSeen)
            failHungUp(SerialPortError::WriteFailed);

        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p {fd_, POLLOUT, 0};
        const int ready = ::poll(&p, 1, int(std::min<qint64>(left, INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            fail(SerialPortError::WriteFailed, errno);
        if (ready == 0)
            break; // the write time-out: fewer bytes than asked
        if (p.revents & POLLNVAL)
            fail(SerialPortError::WriteFailed, EBADF);
        // The next write says what the hang-up or error is (EIO as a rule).
        hangUpSeen = (p.revents & (POLLHUP | POLLERR)) != 0;
    }
    // The write has completed when the bytes are on the line, not when the
    // driver has queued them: a close right after would discard them.
    if (written == total)
        waitUntilSent(fd_, deadline);
    return written;
}

QByteArray LinuxSerialBackend::read(qint64 max)
{
    if (fd_ < 0)
        throw SerialPortError(SerialPortError::ReadFailed, EBADF);
    if (max <= 0)
        return {};

    // With VMIN = VTIME = 0 a quiet line and a hung-up one both read as
    // empty; only the poll state tells them apart. It is taken before the
    // read, so data arriving in between cannot look like a hang-up.
    pollfd p {fd_, POLLIN, 0};
    while (::poll(&p, 1, 0) < 0 && errno == EINTR) {
    }

    int queued = 0;
    if (::ioctl(fd_, FIONREAD, &queued) != 0)
        queued = 0; // the read below reports what is wrong
    const qint64 size = std::min<qint64>(max, std::max(queued, 4096));
    QByteArray buffer(size, Qt::Uninitialized);
    ssize_t n;
    do
        n = ::read(fd_, buffer.data(), size_t(size));
    while (n < 0 && errno == EINTR);

    if (n > 0) {
        buffer.truncate(n);
        return buffer;
    }
    if (n < 0 && errno != EAGAIN)
        fail(SerialPortError::ReadFailed, errno);
    // Readable (or hung up) yet nothing to read: the far end is gone.
    if (p.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))
        failHungUp(SerialPortError::ReadFailed);
    return {};
}

QStringList LinuxSerialBackend::systemPorts() const
{
    return sysfsSerialPorts(QStringLiteral("/sys"), QStringLiteral("/dev"), serial8250UartPresent);
}

} // namespace

std::unique_ptr<SerialBackend> makeSystemSerialBackend()
{
    return std::make_unique<LinuxSerialBackend>();
}

} // namespace zarven
