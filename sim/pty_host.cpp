#include "pty_host.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace zarven::sim {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyHost::PtyHost(ControllerSimulator &simulator, QObject *parent)
    : QObject(parent)
    , simulator_(simulator)
    , inbound_(simulator.options().baud, [this](const QByteArray &bytes) { received(bytes); })
    , outbound_(simulator.options().baud, [this](const QByteArray &bytes) {
        writeBuffer_ += bytes;
        flushOutput();
    })
{
    // Short enough that a command written right after the tool opens the
    // device waits no noticeable time, long enough to cost nothing.
    idlePoll_.setInterval(10);
    idlePoll_.setTimerType(Qt::PreciseTimer);
    connect(&idlePoll_, &QTimer::timeout, this, &PtyHost::pollWhileIdle);
    sendTimer_.setSingleShot(true);
    sendTimer_.setTimerType(Qt::PreciseTimer);
    connect(&sendTimer_, &QTimer::timeout, this, &PtyHost::sendDue);
}

PtyHost::~PtyHost()
{
    delete readNotifier_;
    delete writeNotifier_;
    if (master_ >= 0)
        ::close(master_);
}

void PtyHost::open()
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw PtyError(systemError("posix_openpt"));
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        const QString error = systemError("grantpt/unlockpt");
        ::close(fd);
        throw PtyError(error);
    }
    char name[128];
    if (::ptsname_r(fd, name, sizeof name) != 0) {
        const QString error = systemError("ptsname");
        ::close(fd);
        throw PtyError(error);
    }

    // Line settings asked for on the master apply to the device end, and they
    // stay while the master lives: whoever opens the device finds it raw (no
    // echo, no line editing, no CR/LF translation, zero bytes pass), as a
    // serial port with the tool's settings would be.
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const QString error = systemError("tcgetattr");
        ::close(fd);
        throw PtyError(error);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B38400);
    ::cfsetospeed(&tio, B38400);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const QString error = systemError("tcsetattr");
        ::close(fd);
        throw PtyError(error);
    }

    master_ = fd;
    devicePath_ = QString::fromLocal8Bit(name);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyHost::readMaster);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyHost::flushOutput);
}

void PtyHost::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            inbound_.push(QByteArray(buffer, qsizetype(n)));
            // The pacer may have delivered a command that dropped the line.
            if (master_ < 0)
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Everything read and no hang-up: the device end is open (or has
            // never been opened, which poll() does not report as a hang-up).
            leaveIdle();
            return;
        }
        // EIO: nobody has the device end open.
        enterIdle();
        return;
    }
}

void PtyHost::received(const QByteArray &bytes)
{
    enqueue(simulator_.receive(bytes));
    if (simulator_.lineDropRequested() && master_ >= 0)
        dropLine();
}

void PtyHost::dropLine()
{
    // Called from inside the read notifier's own signal: the notifiers go
    // later, disabled first so that the closed descriptor is never watched.
    for (QSocketNotifier *n : {readNotifier_, writeNotifier_}) {
        n->setEnabled(false);
        n->deleteLater();
    }
    readNotifier_ = nullptr;
    writeNotifier_ = nullptr;
    idlePoll_.stop();
    sendTimer_.stop();
    queue_.clear();
    writeBuffer_.clear();
    inbound_.clear();
    outbound_.clear();
    ::close(master_);
    master_ = -1;
    emit lineDropped();
}

void PtyHost::leaveIdle()
{
    idlePoll_.stop();
    readNotifier_->setEnabled(true);
}

void PtyHost::enterIdle()
{
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    // What was not yet written is lost with the line, as on a serial port
    // whose far end has gone away. What the tool sent before it closed is
    // still on its way here.
    writeBuffer_.clear();
    outbound_.clear();
    if (!idlePoll_.isActive())
        idlePoll_.start();
}

void PtyHost::pollWhileIdle()
{
    if (master_ < 0)
        return;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return;
    // A hang-up with nothing to read: still nobody there. Anything else
    // (bytes left by an opener that has already gone, or an open device)
    // is for readMaster to sort out.
    if ((p.revents & POLLHUP) && !(p.revents & POLLIN))
        return;
    readMaster();
}

bool PtyHost::deviceEndClosed() const
{
    pollfd p{master_, POLLOUT, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
}

void PtyHost::enqueue(const QList<OutgoingChunk> &chunks)
{
    if (chunks.isEmpty())
        return;
    const bool wasEmpty = queue_.isEmpty();
    queue_.append(chunks);
    if (wasEmpty)
        sendTimer_.start(queue_.first().delayMs);
}

void PtyHost::sendDue()
{
    if (queue_.isEmpty() || master_ < 0)
        return;
    outbound_.push(queue_.takeFirst().bytes);
    if (!queue_.isEmpty())
        sendTimer_.start(queue_.first().delayMs);
}

void PtyHost::flushOutput()
{
    if (master_ < 0)
        return;
    // Bytes for a device nobody has open would wait in its queue and reach
    // the next opener as stale data; a real line simply loses them.
    if (deviceEndClosed()) {
        writeBuffer_.clear();
        writeNotifier_->setEnabled(false);
        return;
    }
    while (!writeBuffer_.isEmpty()) {
        const ssize_t n = ::write(master_, writeBuffer_.constData(), size_t(writeBuffer_.size()));
        if (n > 0) {
            writeBuffer_.remove(0, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The device end's input queue is full: go on when it drains.
            writeNotifier_->setEnabled(true);
            return;
        }
        writeBuffer_.clear();
        break;
    }
    writeNotifier_->setEnabled(false);
}

} // namespace zarven::sim
