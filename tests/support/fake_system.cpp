#include "fake_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zarven::test {

namespace {

void relativeLink(const QString &target, const QString &link)
{
    QDir().mkpath(QFileInfo(link).path());
    QFile::link(QFileInfo(link).dir().relativeFilePath(target), link);
}

} // namespace

FakeSystem::FakeSystem()
{
    for (const char *folder : {"/sys/class/tty", "/sys/devices", "/dev", "/proc", "/etc/udev/rules.d",
                               "/usr/lib/udev/rules.d"})
        QDir().mkpath(path(QLatin1String(folder)));
}

void FakeSystem::writeFile(const QString &systemPath, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path(systemPath)).path());
    QFile f(path(systemPath));
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

QString FakeSystem::byIdName(const FakeUsbAdapter &a)
{
    return QStringLiteral("usb-%1_%2_%3-if00-port0").arg(a.manufacturer, a.product, a.serial).replace(QLatin1Char(' '), QLatin1Char('_'));
}

QString FakeSystem::addUsbAdapter(const FakeUsbAdapter &a)
{
    const QString usbDevice = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/") + a.usbPort;
    const QString interface = usbDevice + QLatin1Char('/') + a.usbPort + QStringLiteral(":1.0");
    // usb-serial drivers put a port folder under the interface; cdc_acm
    // binds the interface itself.
    const bool usbSerial = a.tty.startsWith(QLatin1String("ttyUSB"));
    const QString ttyDevice = usbSerial ? interface + QLatin1Char('/') + a.tty : interface;
    writeFile(usbDevice + QStringLiteral("/idVendor"), a.vendorId.toUtf8() + '\n');
    writeFile(usbDevice + QStringLiteral("/idProduct"), a.productId.toUtf8() + '\n');
    if (!a.manufacturer.isEmpty())
        writeFile(usbDevice + QStringLiteral("/manufacturer"), a.manufacturer.toUtf8() + '\n');
    if (!a.product.isEmpty())
        writeFile(usbDevice + QStringLiteral("/product"), a.product.toUtf8() + '\n');
    if (!a.serial.isEmpty())
        writeFile(usbDevice + QStringLiteral("/serial"), a.serial.toUtf8() + '\n');
    QDir().mkpath(path(ttyDevice));
    if (a.latencyTimer >= 0)
        writeFile(ttyDevice + QStringLiteral("/latency_timer"), QByteArray::number(a.latencyTimer) + '\n');
    const QString driverDir = QStringLiteral("/sys/bus/usb-serial/drivers/") + a.driver;
    QDir().mkpath(path(driverDir));
    relativeLink(path(driverDir), path(ttyDevice + QStringLiteral("/driver")));
    const QString classEntry = ttyDevice + QStringLiteral("/tty/") + a.tty;
    QDir().mkpath(path(classEntry));
    relativeLink(path(classEntry), path(QStringLiteral("/sys/class/tty/") + a.tty));
    relativeLink(path(ttyDevice), path(classEntry + QStringLiteral("/device")));

    const QString device = QStringLiteral("/dev/") + a.tty;
    writeFile(device, {});
    if (a.links) {
        relativeLink(path(device), path(QStringLiteral("/dev/serial/by-id/") + byIdName(a)));
        relativeLink(path(device), path(QStringLiteral("/dev/serial/by-path/pci-0000:00:14.0-usb-0:%1:1.0-port0")
                                            .arg(a.usbPort.mid(2))));
    }
    return device;
}

QString FakeSystem::addPlainTty(const QString &name)
{
    const QString ttyDevice = QStringLiteral("/sys/devices/pnp0/00:0") + QString::number(name.size());
    const QString classEntry = ttyDevice + QStringLiteral("/tty/") + name;
    QDir().mkpath(path(classEntry));
    relativeLink(path(classEntry), path(QStringLiteral("/sys/class/tty/") + name));
    relativeLink(path(ttyDevice), path(classEntry + QStringLiteral("/device")));
    writeFile(QStringLiteral("/dev/") + name, {});
    return QStringLiteral("/dev/") + name;
}

void FakeSystem::addProcess(qint64 pid, const QString &command, const QString &heldPath)
{
    const QString dir = QStringLiteral("/proc/") + QString::number(pid);
    writeFile(dir + QStringLiteral("/comm"), command.toUtf8() + '\n');
    QDir().mkpath(path(dir + QStringLiteral("/fd")));
    if (!heldPath.isEmpty())
        QFile::link(path(heldPath), path(dir + QStringLiteral("/fd/3")));
}

} // namespace zarven::test
