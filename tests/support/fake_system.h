#pragma once
// A fake machine tree in a temporary folder: /sys with USB serial adapters
// laid out as the kernel does (class link, interface, USB device with its
// strings), /dev with the tty nodes as plain files and the udev links under
// /dev/serial as relative links, /proc with processes holding devices, and
// udev rule folders. The code under test reads it through its root folder.

#include <QString>
#include <QTemporaryDir>

namespace zarven::test {

struct FakeUsbAdapter {
    QString tty = QStringLiteral("ttyUSB0");
    QString vendorId = QStringLiteral("0403");
    QString productId = QStringLiteral("6001");
    QString manufacturer = QStringLiteral("FTDI");
    QString product = QStringLiteral("FT232R");
    QString serial = QStringLiteral("A10K3XYZ");
    QString driver = QStringLiteral("ftdi_sio");
    QString usbPort = QStringLiteral("1-2"); // the USB device's sysfs name
    int latencyTimer = -1;                   // written when 0 or more
    bool links = true;                       // make the /dev/serial links
};

class FakeSystem {
public:
    FakeSystem();
    bool isValid() const { return dir_.isValid(); }
    QString root() const { return dir_.path(); }
    // A path inside the tree for a system path ("/dev/ttyUSB0").
    QString path(const QString &systemPath) const { return root() + systemPath; }

    // The adapter's sysfs folders, its /dev node and its udev links; returns
    // its device path ("/dev/ttyUSB0").
    QString addUsbAdapter(const FakeUsbAdapter &adapter);
    // The by-id name addUsbAdapter gives the adapter.
    static QString byIdName(const FakeUsbAdapter &adapter);
    // A tty class entry without USB behind it (a motherboard port).
    QString addPlainTty(const QString &name);
    // A file with the given content, its folders made.
    void writeFile(const QString &systemPath, const QByteArray &content);
    // A process with the command name, holding the system path open.
    void addProcess(qint64 pid, const QString &command, const QString &heldPath = QString());

private:
    QTemporaryDir dir_;
};

} // namespace zarven::test
