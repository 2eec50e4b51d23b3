// The list of serial ports: the machine's ports from a sysfs tree, plus the
// extra device paths, sorted without regard to case.

#include "serial_test_util.h"
#include "serial/port_list.h"
#include "serial/port_list_linux.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class PortListTest : public QObject {
    Q_OBJECT

private slots:
    // A Qt warning (an invalid socket notifier, say) is a fault here.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

    void sysfsEnumerationKeepsOnlyPortsWithHardware();
    void portListAddsExtraPortsSortedWithoutRegardToCase();
};

void PortListTest::sysfsEnumerationKeepsOnlyPortsWithHardware()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString sys = tmp.filePath(QStringLiteral("sys"));
    const QString dev = tmp.filePath(QStringLiteral("dev"));
    QVERIFY(QDir().mkpath(sys + QStringLiteral("/class/tty")) && QDir().mkpath(dev));

    auto mkdir = [&](const QString &rel) {
        QVERIFY(QDir().mkpath(sys + QLatin1Char('/') + rel));
    };
    auto link = [&](const QString &target, const QString &rel) {
        QVERIFY(QFile::link(sys + QLatin1Char('/') + target, sys + QLatin1Char('/') + rel));
    };
    // One tty: its class entry, its device link and driver, its /dev node.
    auto tty = [&](const QString &name, const QString &device, const QString &driver, bool node = true) {
        const QString dir = QStringLiteral("devices/ttydirs/") + name;
        mkdir(dir);
        link(dir, QStringLiteral("class/tty/") + name);
        if (!device.isEmpty()) {
            mkdir(device);
            link(device, dir + QStringLiteral("/device"));
            if (!driver.isEmpty()) {
                mkdir(driver);
                if (!QFileInfo::exists(sys + QLatin1Char('/') + device + QStringLiteral("/driver")))
                    link(driver, device + QStringLiteral("/driver"));
            }
        }
        if (node) {
            QFile f(dev + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    };
    tty(QStringLiteral("tty0"), {}, {});    // virtual console: no device
    tty(QStringLiteral("console"), QStringLiteral("devices/virtual/tty/console"), {});
    tty(QStringLiteral("ttyUSB0"), QStringLiteral("devices/pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0"),
        QStringLiteral("bus/usb-serial/drivers/ftdi_sio"));
    tty(QStringLiteral("ttyACM0"), QStringLiteral("devices/pci0000:00/usb1/1-2/1-2:1.0"),
        QStringLiteral("bus/usb/drivers/cdc_acm"));
    tty(QStringLiteral("ttyUSB9"), QStringLiteral("devices/pci0000:00/usb1/1-3/1-3:1.0/ttyUSB9"),
        QStringLiteral("bus/usb-serial/drivers/pl2303"), false); // no device node
    tty(QStringLiteral("ttyS0"), QStringLiteral("devices/pnp0/00:04"), QStringLiteral("bus/pnp/drivers/serial"));
    // Legacy 8250 slots, bound to the platform driver ...
    tty(QStringLiteral("ttyS1"), QStringLiteral("devices/platform/serial8250"),
        QStringLiteral("bus/platform/drivers/serial8250"));
    tty(QStringLiteral("ttyS2"), QStringLiteral("devices/platform/serial8250"),
        QStringLiteral("bus/platform/drivers/serial8250"));
    // ... and with the port devices newer kernels put under it.
    tty(QStringLiteral("ttyS3"), QStringLiteral("devices/platform/serial8250/serial8250:0/serial8250:0.3"),
        QStringLiteral("bus/serial-base/drivers/port"));
    tty(QStringLiteral("ttyS4"), QStringLiteral("devices/platform/serial8250/serial8250:0/serial8250:0.4"),
        QStringLiteral("bus/serial-base/drivers/port"));
    tty(QStringLiteral("ttyAMA0"), QStringLiteral("devices/platform/fe201000.serial"),
        QStringLiteral("bus/amba/drivers/uart-pl011"));

    QStringList probed;
    const auto uartPresent = [&](const QString &node) {
        probed << QFileInfo(node).fileName();
        return node.endsWith(QLatin1String("ttyS1")) || node.endsWith(QLatin1String("ttyS4"));
    };
    QStringList ports = sysfsSerialPorts(sys, dev, uartPresent);
    ports.sort();
    QStringList expected;
    for (const char *name : {"ttyACM0", "ttyAMA0", "ttyS0", "ttyS1", "ttyS4", "ttyUSB0"})
        expected << dev + QLatin1Char('/') + QLatin1String(name);
    QCOMPARE(ports, expected);
    probed.sort();
    QCOMPARE(probed, QStringList({"ttyS1", "ttyS2", "ttyS3", "ttyS4"})); // only the 8250 slots

    // A machine without serial ports, or without the tty class at all.
    QCOMPARE(sysfsSerialPorts(tmp.filePath(QStringLiteral("nothing")), dev, uartPresent), QStringList());

    // The real probe: a pseudo-terminal or a missing device is no UART.
    OPEN_PAIR(pair);
    QVERIFY(!serial8250UartPresent(pair.slavePath()));
    QVERIFY(!serial8250UartPresent(dev + QStringLiteral("/ttyS1")));
    QVERIFY(!serial8250UartPresent(QStringLiteral("/dev/zarven-no-such-port")));
}

void PortListTest::portListAddsExtraPortsSortedWithoutRegardToCase()
{
    const QStringList system {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};
    const QStringList extra {QStringLiteral("COM2"),    QStringLiteral("COM10"), QStringLiteral("/dev/pts/3"),
                             QStringLiteral("COM1"),    QStringLiteral("/dev/ttyUSB0"), QString(),
                             QStringLiteral("com3"),    QStringLiteral("COM2")};
    QCOMPARE(mergePortLists(system, extra),
             QStringList({"/dev/pts/3", "/dev/ttyS0", "/dev/ttyUSB0", "COM1", "COM10", "COM2", "com3"}));

    QCOMPARE(ListSerialPorts({}, false), QStringList());
    QCOMPARE(ListSerialPorts({QStringLiteral("/dev/pts/7"), QStringLiteral("/dev/pts/10")}, false),
             QStringList({"/dev/pts/10", "/dev/pts/7"}));
    // With the machine's own ports, every extra port is still there.
    OPEN_PAIR(pair);
    const QStringList withSystem = ListSerialPorts({pair.slavePath()}, true);
    QVERIFY(withSystem.contains(pair.slavePath()));
    QCOMPARE(withSystem.count(pair.slavePath()), 1);
    for (const QString &port : withSystem)
        QVERIFY2(port == pair.slavePath() || port.startsWith(QLatin1String("/dev/tty")), qPrintable(port));
}

QTEST_GUILESS_MAIN(PortListTest)
#include "test_port_list.moc"
