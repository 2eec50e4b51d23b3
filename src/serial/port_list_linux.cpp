// The machine's serial ports from sysfs.

#include "serial/port_list_linux.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zarven {

namespace {

bool isSerial8250Slot(const QString &devicePath)
{
    const QFileInfo driver(devicePath + QStringLiteral("/driver"));
    if (driver.exists() && QFileInfo(driver.canonicalFilePath()).fileName() == QLatin1String("serial8250"))
        return true;
    // Newer kernels put a port device between the tty and the platform
    // device: .../platform/serial8250/serial8250:0/serial8250:0.1.
    return devicePath.split(QLatin1Char('/')).contains(QLatin1String("serial8250"));
}

} // namespace

bool serial8250UartPresent(const QString &devicePath)
{
    // Opened without waiting for a carrier and without becoming our
    // controlling terminal, only for the one query.
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info {};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

QStringList sysfsSerialPorts(const QString &sysfsRoot, const QString &devRoot,
                             const std::function<bool(const QString &devicePath)> &uartPresent)
{
    const QDir ttyClass(sysfsRoot + QStringLiteral("/class/tty"));
    const QString virtualPrefix = QDir(sysfsRoot).canonicalPath() + QStringLiteral("/devices/virtual/");
    QStringList ports;
    for (const QString &name : ttyClass.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QFileInfo device(ttyClass.filePath(name) + QStringLiteral("/device"));
        if (!device.exists())
            continue;
        const QString devicePath = device.canonicalFilePath();
        if (devicePath.startsWith(virtualPrefix))
            continue;
        const QString node = devRoot + QLatin1Char('/') + name;
        if (!QFileInfo::exists(node))
            continue;
        if (isSerial8250Slot(devicePath) && !(uartPresent && uartPresent(node)))
            continue;
        ports.append(node);
    }
    return ports;
}

} // namespace zarven
