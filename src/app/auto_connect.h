#pragma once
// Plugged adapters, as the window meets them. The device watch reports a
// serial device that appears; after a short settling time (udev sets the
// node's permissions and links) the window scans that one port, when no
// controller is connected and "Подключаться автоматически" is ticked, and
// says so in the status bar. When the connected controller's adapter goes,
// the connected look resets at once; when the same adapter comes back (the
// same /dev/serial/by-path place or by-id name, or the same device path for
// a port without them) it is reconnected, ticked or not.

#include <QObject>
#include <QString>
#include <QStringList>

class QLabel;
class QTimer;

namespace zarven {

class DeviceWatch;
class MainWindow;
enum class ScanOutcome;

class AutoConnect : public QObject {
    Q_OBJECT
public:
    AutoConnect(MainWindow &window, DeviceWatch *watch, QLabel *status);

    // What identifies an adapter across plug-ins.
    struct Identity {
        QString device, byId, byPath;
        bool sameAdapter(const Identity &other) const;
        bool isEmpty() const { return device.isEmpty(); }
    };
    Identity identify(const QString &port) const;

    void deviceAppeared(const QString &path);
    void deviceRemoved(const QString &path);

signals:
    // A scan of a plugged port started (for tests and measurements).
    void pluggedScanStarted(const QString &port);

private:
    void settle();
    void scanFinished(ScanOutcome outcome);
    void lost();
    bool lineBusy() const;

    MainWindow &w_;
    QLabel *status_;
    QTimer *settleTimer_;
    QString root_;           // the tree the adapters are read from
    QStringList pending_;    // appeared, waiting for the settling time
    Identity connected_;     // the adapter of the connected controller
    Identity lost_;          // the adapter whose controller went
    QString scanning_;       // the plugged port being scanned
};

} // namespace zarven
