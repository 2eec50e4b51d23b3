#pragma once
// SerialPort: the one serial port of the window. It opens the line under a
// port name with the controller's fixed settings (38400 bit/s, 8 data bits,
// no parity, 1 stop bit, raw, no flow control, DTR and RTS inactive), writes
// whole command strings and waits for each write, purges the queues, and
// hands received bytes to one receiver (the packet framer) on the main thread.
//
// The operating-system layer sits behind SerialBackend (serial_backend.h);
// Linux uses termios on a device path.
//
// Hand-over of received data: there is no receive thread. At 38400 bit/s
// (under 4 KiB/s) a read notifier on the line's descriptor, served by the
// main thread's event loop, is enough, and it removes the races and the
// deadlock a thread that blocks until the main thread has served it brings
// (closing the port from inside a hand-over would wait for itself). Each
// hand-over reads every byte queued at that moment in one read and gives it
// to the receiver as one chunk. While the receiver runs (a packet handler
// may show a modal box whose nested event loop serves timers) the notifier
// is off, so no further data is handed over; the bytes wait in the driver's
// queue and are handed over, in order, after the receiver has returned.
//
// Because the close happens on the main thread without waiting for anyone,
// ClosePort is safe from anywhere, also from inside a hand-over (an idle
// close fired by a timer in a modal box). Every open and close starts a new
// session; a hand-over that finds another session when its receiver returns
// leaves the line alone and only lets a newly opened line's notifier run.
//
// A line that fails under us (unplugged adapter, hang-up, read or write
// error) is closed at once and lineLost is emitted; it never spins.

#include "core/errors.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zarven {

class SerialBackend;

// A failing port operation. The message is the index's text followed by
// " (error code: N, description)" when there is a system error code (errno
// and its description on Linux), for example
// "Unable to open com port (error code: 16, Device or resource busy)".
class SerialPortError : public AppError {
public:
    enum Index {
        OpenFailed = 1,        // "Unable to open com port"
        WriteFailed = 2,       // "WriteFile function failed"
        ReadFailed = 3,        // "ReadFile function failed"
        InvalidAsync = 4,      // "Invalid Async parameter"
        PurgeFailed = 5,       // "PurgeComm function failed"
        SetStateFailed = 7,    // "SetCommState function failed"
        SetTimeoutsFailed = 8, // "SetCommTimeouts failed"
        SetupFailed = 9,       // "SetupComm function failed"
        ClearErrorFailed = 10, // "ClearCommError function failed"
        ModemStatusFailed = 11,// "GetCommModemStatus function failed"
        LinkFailed = 18,       // "Link (un)registration failed"
        RegistryFailed = 23,   // "Registry error"
    };

    // systemCode -1 means there is none: the message is the bare text.
    SerialPortError(int index, int systemCode = -1);

    int index() const { return index_; }
    int systemCode() const { return systemCode_; }
    static QString indexText(int index);

private:
    int index_;
    int systemCode_;
};

// A port operation that failed because the line is gone (hang-up, unplugged
// adapter). The port has been closed and lineLost emitted before this is
// raised, and the loss is told to the user there; an error report lets this
// error pass without a second message.
class LineLostError : public SerialPortError {
public:
    explicit LineLostError(const SerialPortError &cause) : SerialPortError(cause) {}
};

class SerialPort : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArray &chunk)>;

    explicit SerialPort(QObject *parent = nullptr);
    // For tests: a port over another backend.
    SerialPort(std::unique_ptr<SerialBackend> backend, QObject *parent = nullptr);
    ~SerialPort() override;

    // The device name or path. Assigning the same name does nothing;
    // assigning another while open closes and reopens the line under it.
    QString Port() const { return port_; }
    void setPort(const QString &name);

    bool Connected() const;

    // Does nothing when already open. Throws SerialPortError; a failure while
    // setting the line up leaves the port closed.
    void OpenPort();
    // Does nothing when closed. Never blocks, also when called from inside a
    // hand-over of received data.
    void ClosePort();
    // Discards the driver's receive and/or transmit queue. Throws SerialPortError
    // (index 5) when the port is closed. The framer's buffer is not touched.
    void PurgePort(bool input = true, bool output = true);
    // Writes the whole byte string and waits until it is written or the
    // write time-out (1000 + 100·n ms) has passed; returns the count written,
    // fewer than n after a time-out. An empty string is not written (0).
    // Throws SerialPortError (index 2), also when the port is closed.
    qint64 SendString(const QByteArray &bytes);
    // At most n bytes already queued; never waits for more. Throws SerialPortError
    // (index 3), also when the port is closed.
    QByteArray ReadUpTo(int n);

    // The linked receiver (the framer's FeedBytes). It is called on the main
    // thread, one chunk per hand-over; while it runs (a packet handler may
    // show a modal box) no further data is handed over.
    void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
    // Where an error raised by the receiver is reported (the window's default
    // error report). After such an error no further data is handed over until
    // the port is closed and opened again.
    void setErrorReporter(std::function<void(const QString &)> reporter) { errorReporter_ = std::move(reporter); }

    bool inHandOver() const { return handOverDepth_ > 0; }
    SerialBackend *backend() const { return backend_.get(); }

    // The write time-out for n bytes: 1000 + 100·n ms.
    static qint64 writeTimeoutMs(qint64 n);

signals:
    // The line failed under us (hang-up, unplugged adapter, read or write
    // error): the port has been closed before this is emitted.
    void lineLost(const QString &reason);

private:
    void handOver();
    void resumeHandOvers();
    void loseLine(const QString &reason);
    void reportReceiverError(const QString &message);
    // Runs one line operation; a failure that means the line is gone closes
    // the port and emits lineLost, then raises it as a LineLostError.
    template <typename Op>
    auto onLine(Op op) -> decltype(op());

    std::unique_ptr<SerialBackend> backend_;
    QString port_ = QStringLiteral("COM1");
    Receiver receiver_;
    std::function<void(const QString &)> errorReporter_;
    int handOverDepth_ = 0;
    bool receptionStopped_ = false;
    quint64 session_ = 0; // counts opens and closes
};

// The machine's serial ports (from the system's device enumeration; ports
// without hardware behind them are left out) plus every extra device path,
// sorted as text without regard to case. No ports is not an error.
QStringList ListSerialPorts(const QStringList &extraPorts, bool includeSystemPorts = true);

} // namespace zarven
