// The adapter behind a port, from sysfs and /dev/serial.

#include "serial/port_adapter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zarven {

namespace {

QString readAttribute(const QString &dir, const char *name)
{
    QFile f(dir + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(256)).trimmed();
}

// The path inside the root's tree for a system path, and back.
QString inRoot(const QString &root, const QString &systemPath)
{
    return root.isEmpty() ? systemPath : root + systemPath;
}

QString outOfRoot(const QString &rootCanonical, const QString &path)
{
    if (rootCanonical.isEmpty() || rootCanonical == QLatin1String("/"))
        return path;
    return path.startsWith(rootCanonical + QLatin1Char('/')) ? path.mid(rootCanonical.size()) : path;
}

// The link in /dev/serial/<kind> that leads to the device, as a system path.
QString serialLink(const QString &root, const QString &kind, const QString &deviceCanonical)
{
    const QString folder = QStringLiteral("/dev/serial/") + kind;
    const QDir dir(inRoot(root, folder));
    for (const QFileInfo &entry : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (entry.isSymLink() && entry.canonicalFilePath() == deviceCanonical)
            return folder + QLatin1Char('/') + entry.fileName();
    }
    return {};
}

} // namespace

QString PortAdapter::usbId() const
{
    return isUsb() ? vendorId + QLatin1Char(':') + productId : QString();
}

QString PortAdapter::label() const
{
    QString name = manufacturer;
    if (!product.isEmpty()) {
        // Some makers repeat their name in the product string.
        if (name.isEmpty() || product.startsWith(name, Qt::CaseInsensitive))
            name = product;
        else
            name += QLatin1Char(' ') + product;
    }
    if (name.isEmpty() && isUsb())
        name = QStringLiteral("USB ") + usbId();
    if (name.isEmpty())
        return {};
    return serial.isEmpty() ? name : name + QStringLiteral(", ") + serial;
}

PortAdapter portAdapter(const QString &devicePath, const QString &root)
{
    PortAdapter a;
    const QString rootCanonical = root.isEmpty() ? QString() : QFileInfo(root).canonicalFilePath();
    const QString deviceCanonical = QFileInfo(inRoot(root, devicePath)).canonicalFilePath();
    if (deviceCanonical.isEmpty())
        return a;
    a.device = outOfRoot(rootCanonical, deviceCanonical);
    a.byId = serialLink(root, QStringLiteral("by-id"), deviceCanonical);
    a.byPath = serialLink(root, QStringLiteral("by-path"), deviceCanonical);

    const QString name = QFileInfo(deviceCanonical).fileName();
    const QFileInfo deviceLink(inRoot(root, QStringLiteral("/sys/class/tty/")) + name + QStringLiteral("/device"));
    if (name.isEmpty() || !deviceLink.exists())
        return a;
    const QString deviceDir = deviceLink.canonicalFilePath();
    const QFileInfo driver(deviceDir + QStringLiteral("/driver"));
    if (driver.exists())
        a.driver = QFileInfo(driver.canonicalFilePath()).fileName();

    // The USB device is the nearest folder above the tty's interface that
    // carries a vendor id; a port off USB has none up to the devices root.
    const QString devicesRoot = QFileInfo(inRoot(root, QStringLiteral("/sys/devices"))).canonicalFilePath();
    for (QDir dir(deviceDir); !devicesRoot.isEmpty() && dir.absolutePath().startsWith(devicesRoot + QLatin1Char('/'));) {
        const QString path = dir.absolutePath();
        if (QFileInfo::exists(path + QStringLiteral("/idVendor"))) {
            a.vendorId = readAttribute(path, "idVendor").toLower();
            a.productId = readAttribute(path, "idProduct").toLower();
            a.manufacturer = readAttribute(path, "manufacturer");
            a.product = readAttribute(path, "product");
            a.serial = readAttribute(path, "serial");
            break;
        }
        if (!dir.cdUp())
            break;
    }
    return a;
}

QString portWithAdapter(const QString &port, const PortAdapter &adapter)
{
    const QString label = adapter.label();
    return label.isEmpty() ? port : port + QStringLiteral(" (") + label + QLatin1Char(')');
}

QString describePort(const QString &port, const QString &root)
{
    return portWithAdapter(port, portAdapter(port, root));
}

} // namespace zarven
