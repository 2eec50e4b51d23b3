#pragma once
// DeviceWatch: tells when a serial device appears in or leaves the device
// folder (/dev), without polling and without a thread. The kernel reports
// every new entry of the folder and of its serial/by-id and serial/by-path
// folders through inotify; a notifier on the main thread's event loop reads
// the reports. The folder is a parameter, so tests watch a folder of their
// own where a symbolic link to a pseudo-terminal plays the plugged adapter.

#include <QObject>
#include <QHash>
#include <QString>

class QSocketNotifier;

namespace zarven {

class DeviceWatch : public QObject {
    Q_OBJECT
public:
    explicit DeviceWatch(const QString &folder = QStringLiteral("/dev"), QObject *parent = nullptr);
    ~DeviceWatch() override;

    QString folder() const { return folder_; }
    // False when the folder could not be watched (no such folder, or the
    // system's limit of watches reached); then nothing is reported.
    bool isWatching() const { return fd_ >= 0; }

    // Whether a name in the device folder is a serial device's: ttyUSB0,
    // ttyACM1, ttyS2 and the like; not tty1, pts or sda.
    static bool isSerialName(const QString &name);

signals:
    // A serial device node, or a link under serial/by-id or serial/by-path,
    // appeared; path is its full path under the folder.
    void deviceAppeared(const QString &path);
    void deviceRemoved(const QString &path);

private:
    void readEvents();
    void watchFolder(const QString &path);

    QString folder_;
    int fd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
    QHash<int, QString> folders_; // watch descriptor -> folder
};

} // namespace zarven
