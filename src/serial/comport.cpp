// The portable part of the serial port: the operations' order and rules,
// the hand-over of received data to the receiver, and the handling of a line
// that fails under us. The system calls live in the backend.
//
// Hand-over design (see comport.h): a read notifier on the main thread, no
// receive thread. The notifier is off while the receiver runs, so a packet
// handler that opens a modal box gets no further data until it returns, and
// the close needs no one's cooperation, so it cannot block.

#include "serial/comport.h"
#include "serial/serial_backend.h"

#include <QTimer>

#include <climits>
#include <exception>

namespace zarven {

namespace {

// A hand-over takes everything queued; the driver queues are far smaller.
constexpr qint64 kHandOverMaxBytes = qint64(1) << 20;

} // namespace

// ---------------------------------------------------------------- SerialPortError

namespace {

QString comPortMessage(int index, int systemCode)
{
    QString text = SerialPortError::indexText(index);
    if (systemCode >= 0)
        text += QStringLiteral(" (error code: %1, %2)").arg(systemCode).arg(qt_error_string(systemCode));
    return text;
}

} // namespace

SerialPortError::SerialPortError(int index, int systemCode)
    : AppError(comPortMessage(index, systemCode)), index_(index), systemCode_(systemCode)
{
}

QString SerialPortError::indexText(int index)
{
    switch (index) {
    case OpenFailed: return QStringLiteral("Unable to open com port");
    case WriteFailed: return QStringLiteral("WriteFile function failed");
    case ReadFailed: return QStringLiteral("ReadFile function failed");
    case InvalidAsync: return QStringLiteral("Invalid Async parameter");
    case PurgeFailed: return QStringLiteral("PurgeComm function failed");
    case SetStateFailed: return QStringLiteral("SetCommState function failed");
    case SetTimeoutsFailed: return QStringLiteral("SetCommTimeouts failed");
    case SetupFailed: return QStringLiteral("SetupComm function failed");
    case ClearErrorFailed: return QStringLiteral("ClearCommError function failed");
    case ModemStatusFailed: return QStringLiteral("GetCommModemStatus function failed");
    case LinkFailed: return QStringLiteral("Link (un)registration failed");
    case RegistryFailed: return QStringLiteral("Registry error");
    }
    return QStringLiteral("Com port error %1").arg(index);
}

// ---------------------------------------------------------------- SerialPort

SerialPort::SerialPort(QObject *parent) : SerialPort(makeSystemSerialBackend(), parent) {}

SerialPort::SerialPort(std::unique_ptr<SerialBackend> backend, QObject *parent)
    : QObject(parent), backend_(std::move(backend))
{
    backend_->setReadyCallback([this] { handOver(); });
}

SerialPort::~SerialPort()
{
    backend_->setReadyCallback({});
    backend_->close();
}

qint64 SerialPort::writeTimeoutMs(qint64 n)
{
    return 1000 + 100 * n;
}

void SerialPort::setPort(const QString &name)
{
    if (name == port_)
        return;
    port_ = name;
    if (Connected()) {
        ClosePort();
        OpenPort();
    }
}

bool SerialPort::Connected() const
{
    return backend_->isOpen();
}

void SerialPort::OpenPort()
{
    if (Connected())
        return;
    backend_->open(port_); // throws; nothing stays open on failure
    ++session_;
    receptionStopped_ = false;
    // Opened from inside a hand-over (the receiver closed the line and
    // opened another): the new line waits until that hand-over returns.
    resumeHandOvers();
}

void SerialPort::ClosePort()
{
    if (!Connected())
        return;
    ++session_;
    backend_->close();
}

template <typename Op>
auto SerialPort::onLine(Op op) -> decltype(op())
{
    try {
        return op();
    } catch (const SerialPortError &e) {
        if (!backend_->lineFailed())
            throw;
        loseLine(backend_->lineFailure());
        throw LineLostError(e);
    }
}

void SerialPort::PurgePort(bool input, bool output)
{
    onLine([&] { backend_->purge(input, output); });
}

qint64 SerialPort::SendString(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return 0;
    return onLine([&] { return backend_->write(bytes, writeTimeoutMs(bytes.size())); });
}

QByteArray SerialPort::ReadUpTo(int n)
{
    return onLine([&] { return backend_->read(n > 0 ? n : 0); });
}

void SerialPort::resumeHandOvers()
{
    if (handOverDepth_ == 0 && !receptionStopped_ && Connected())
        backend_->setReadyNotification(true);
}

void SerialPort::loseLine(const QString &reason)
{
    ClosePort();
    emit lineLost(reason);
}

void SerialPort::handOver()
{
    // The notifier is off during a hand-over; this only guards against a
    // backend that calls back anyway.
    if (handOverDepth_ > 0 || receptionStopped_ || !Connected())
        return;
    backend_->setReadyNotification(false);

    QByteArray chunk;
    try {
        chunk = backend_->read(kHandOverMaxBytes);
    } catch (const SerialPortError &e) {
        // Any read failure here ends the line: retrying would spin on it.
        loseLine(backend_->lineFailed() ? backend_->lineFailure() : e.message());
        return;
    }
    if (chunk.isEmpty()) { // a wake-up without data
        resumeHandOvers();
        return;
    }

    const quint64 session = session_;
    QString error;
    bool failed = false;
    ++handOverDepth_;
    // Nothing may escape into the event loop: the receiver's error ends this
    // hand-over and is reported once the stack has unwound.
    try {
        if (receiver_)
            receiver_(chunk);
    } catch (const LineLostError &) {
        // Told by lineLost; the port is closed and its session over.
    } catch (const AppError &e) {
        failed = true;
        error = e.message();
    } catch (const std::exception &e) {
        failed = true;
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failed = true;
        error = QStringLiteral("Unknown error while handling received data");
    }
    --handOverDepth_;

    if (failed) {
        // Reception stays stopped until the line is opened again; if the
        // receiver already closed or reopened it, that has happened.
        if (session == session_)
            receptionStopped_ = true;
        reportReceiverError(error);
    }
    // The receiver may have closed the line, or closed it and opened another:
    // then the session has moved on and the old descriptor is gone. A line
    // opened meanwhile was left waiting for this moment.
    resumeHandOvers();
}

void SerialPort::reportReceiverError(const QString &message)
{
    if (!errorReporter_)
        return;
    // Deferred so that the error box is not shown inside the hand-over.
    QTimer::singleShot(0, this, [this, message] {
        if (errorReporter_)
            errorReporter_(message);
    });
}

} // namespace zarven
