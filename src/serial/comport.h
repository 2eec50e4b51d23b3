#pragma once
// TComPort: the one serial port of the window. It opens the line under a
// port name with the controller's fixed settings (38400 bit/s, 8 data bits,
// no parity, 1 stop bit, raw, no flow control, DTR and RTS inactive), writes
// whole command strings and waits for each write, purges the queues, and
// hands received bytes to one receiver (the packet framer) on the main thread.
//
// The operating-system layer sits behind SerialBackend (serial_backend.h);
// Linux uses termios on a device path.

#include "app/errors.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zarven {

class SerialBackend;

// A failing port operation. The message is the index's text followed by
// " (error code: N, description)" when there is a system error code.
class EComPort : public AppError {
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
    EComPort(int index, int systemCode = -1);

    int index() const { return index_; }
    int systemCode() const { return systemCode_; }
    static QString indexText(int index);

private:
    int index_;
    int systemCode_;
};

class TComPort : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArray &chunk)>;

    explicit TComPort(QObject *parent = nullptr);
    // For tests: a port over another backend.
    TComPort(std::unique_ptr<SerialBackend> backend, QObject *parent = nullptr);
    ~TComPort() override;

    // The device name or path. Assigning the same name does nothing;
    // assigning another while open closes and reopens the line under it.
    QString Port() const { return port_; }
    void setPort(const QString &name);

    bool Connected() const;

    // Does nothing when already open. Throws EComPort; a failure while
    // setting the line up leaves the port closed.
    void OpenPort();
    // Does nothing when closed. Never blocks, also when called from inside a
    // hand-over of received data.
    void ClosePort();
    // Discards the driver's receive and/or transmit queue. Throws EComPort
    // (index 5) when the port is closed. The framer's buffer is not touched.
    void PurgePort(bool input = true, bool output = true);
    // Writes the whole byte string and waits until it is written or the
    // write time-out (1000 + 100·n ms) has passed; returns the count written.
    // An empty string is not written. Throws EComPort (index 2).
    qint64 SendString(const QByteArray &bytes);
    // At most n bytes already queued; never waits for more. Throws EComPort.
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

signals:
    // The line failed under us (hang-up, unplugged adapter, read error): the
    // port has been closed.
    void lineLost(const QString &reason);

private:
    void handOver();

    std::unique_ptr<SerialBackend> backend_;
    QString port_ = QStringLiteral("COM1");
    Receiver receiver_;
    std::function<void(const QString &)> errorReporter_;
    int handOverDepth_ = 0;
    bool receptionStopped_ = false;
};

// The machine's serial ports (from the system's device enumeration; ports
// without hardware behind them are left out) plus every extra device path,
// sorted as text without regard to case. No ports is not an error.
QStringList ListSerialPorts(const QStringList &extraPorts, bool includeSystemPorts = true);

} // namespace zarven
