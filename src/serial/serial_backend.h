#pragma once
// The operating-system layer beneath SerialPort. One implementation per
// platform (serial_backend_linux.cpp on Linux); the portable port code never
// includes system headers.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zarven {

class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens the device with the controller's line settings, exclusively.
    // Throws SerialPortError; on failure nothing stays open. The ready notification
    // of a freshly opened line is off until setReadyNotification(true).
    virtual void open(const QString &name) = 0;
    // Discards both queues and closes; never blocks, never throws.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Throws SerialPortError (index 5).
    virtual void purge(bool input, bool output) = 0;
    // Writes until all bytes are out and the driver has sent them (its
    // output queue drained), or timeoutMs has passed; returns the count
    // written. Throws SerialPortError (index 2).
    virtual qint64 write(const QByteArray &bytes, qint64 timeoutMs) = 0;
    // What is queued now, at most max bytes (possibly none); never waits.
    // Throws SerialPortError (index 3) on a read error or a hang-up.
    virtual QByteArray read(qint64 max) = 0;
    // Set when an operation threw because the line is gone (hang-up,
    // unplugged device) rather than for a passing fault; cleared by the next
    // open. lineFailure() says what happened, for the log.
    virtual bool lineFailed() const = 0;
    virtual QString lineFailure() const = 0;
    // Called on the main thread whenever received data (or a line failure)
    // is waiting; enable(false) stops the calls while a hand-over runs.
    virtual void setReadyCallback(std::function<void()> callback) = 0;
    virtual void setReadyNotification(bool enabled) = 0;

    // The machine's serial ports that have hardware behind them.
    virtual QStringList systemPorts() const = 0;
};

// The backend of this platform.
std::unique_ptr<SerialBackend> makeSystemSerialBackend();

} // namespace zarven
