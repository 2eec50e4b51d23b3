// The device watch on Linux: inotify on the device folder and its
// serial/by-id and serial/by-path folders (watched once they exist).

#include "serial/device_watch.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace zarven {

namespace {

constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM;

} // namespace

DeviceWatch::DeviceWatch(const QString &folder, QObject *parent) : QObject(parent), folder_(QDir::cleanPath(folder))
{
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    watchFolder(folder_);
    if (folders_.isEmpty()) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    // udev makes serial/ and its folders when the first adapter is plugged.
    watchFolder(folder_ + QStringLiteral("/serial"));
    watchFolder(folder_ + QStringLiteral("/serial/by-id"));
    watchFolder(folder_ + QStringLiteral("/serial/by-path"));
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DeviceWatch::readEvents);
}

DeviceWatch::~DeviceWatch()
{
    if (fd_ >= 0) {
        delete notifier_;
        ::close(fd_);
    }
}

bool DeviceWatch::isSerialName(const QString &name)
{
    static const QRegularExpression serial(QStringLiteral("^tty(USB|ACM|S|AMA|XRUSB|CH343USB|SC|HS|MFD|mxc|LP)[0-9]+$"));
    return serial.match(name).hasMatch();
}

void DeviceWatch::watchFolder(const QString &path)
{
    if (folders_.key(path, -1) != -1)
        return;
    const int wd = ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), kEvents | IN_ONLYDIR);
    if (wd >= 0)
        folders_.insert(wd, path);
}

void DeviceWatch::readEvents()
{
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return; // EAGAIN: all read
        for (ssize_t at = 0; at < n;) {
            const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + e->len);
            if (e->mask & IN_IGNORED) {
                folders_.remove(e->wd); // the folder itself went
                continue;
            }
            const QString folder = folders_.value(e->wd);
            if (folder.isEmpty() || e->len == 0)
                continue;
            const QString name = QFile::decodeName(e->name);
            const QString path = folder + QLatin1Char('/') + name;
            const bool appeared = e->mask & (IN_CREATE | IN_MOVED_TO);
            if (folder == folder_ + QStringLiteral("/serial")
                || (folder == folder_ && name == QLatin1String("serial"))) {
                if (appeared && (e->mask & IN_ISDIR)) {
                    watchFolder(path);
                    // Links made before the watch was in place.
                    for (const QString &sub : {QStringLiteral("/serial/by-id"), QStringLiteral("/serial/by-path")})
                        watchFolder(folder_ + sub);
                }
                continue;
            }
            if (folder == folder_ && !isSerialName(name))
                continue;
            if (appeared)
                emit deviceAppeared(path);
            else
                emit deviceRemoved(path);
        }
    }
}

} // namespace zarven
