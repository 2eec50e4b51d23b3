// The adapter behind a port, read from a fake /sys and /dev tree laid out as
// the kernel and udev lay them out; and the port as the scan's lines show it.

#include "exchange/scan_report.h"
#include "fake_system.h"
#include "serial/port_adapter.h"
#include "serial_test_util.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class PortAdapterTest : public QObject {
    Q_OBJECT
private slots:
    void adapterLabels_data();
    void adapterLabels();
    void stableNamesLeadToTheSameAdapter();
    void portsWithoutSysfsDataShowJustTheirName();
};

void PortAdapterTest::adapterLabels_data()
{
    QTest::addColumn<QString>("manufacturer");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("tty");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("shown");
    const QString dev = QStringLiteral("/dev/");
    QTest::newRow("ftdi") << "FTDI" << "FT232R" << "A10K3XYZ" << "ttyUSB0" << "ftdi_sio"
                          << dev + "ttyUSB0 (FTDI FT232R, A10K3XYZ)";
    QTest::newRow("maker repeated in product") << "Silicon Labs" << "Silicon Labs CP2102 USB to UART" << "0001"
                                               << "ttyUSB1" << "cp210x"
                                               << dev + "ttyUSB1 (Silicon Labs CP2102 USB to UART, 0001)";
    QTest::newRow("no serial number") << "" << "USB Serial" << "" << "ttyUSB2" << "ch341-uart"
                                      << dev + "ttyUSB2 (USB Serial)";
    QTest::newRow("no strings at all") << "" << "" << "" << "ttyUSB3" << "pl2303" << dev + "ttyUSB3 (USB 067b:2303)";
    QTest::newRow("modem class") << "Maker" << "Board" << "42" << "ttyACM0" << "cdc_acm" << dev + "ttyACM0 (Maker Board, 42)";
}

void PortAdapterTest::adapterLabels()
{
    QFETCH(QString, manufacturer);
    QFETCH(QString, product);
    QFETCH(QString, serial);
    QFETCH(QString, tty);
    QFETCH(QString, driver);
    QFETCH(QString, shown);
    FakeSystem sys;
    QVERIFY(sys.isValid());
    FakeUsbAdapter a;
    a.tty = tty;
    a.manufacturer = manufacturer;
    a.product = product;
    a.serial = serial;
    a.driver = driver;
    if (manufacturer.isEmpty() && product.isEmpty())
        a.vendorId = QStringLiteral("067B"), a.productId = QStringLiteral("2303");
    const QString device = sys.addUsbAdapter(a);
    QCOMPARE(describePort(device, sys.root()), shown);
    const PortAdapter found = portAdapter(device, sys.root());
    QCOMPARE(found.driver, driver);
    QCOMPARE(found.device, device);
    QCOMPARE(found.usbId(), a.vendorId.toLower() + QLatin1Char(':') + a.productId.toLower());
}

void PortAdapterTest::stableNamesLeadToTheSameAdapter()
{
    FakeSystem sys;
    FakeUsbAdapter a;
    a.usbPort = QStringLiteral("1-4");
    const QString device = sys.addUsbAdapter(a);
    FakeUsbAdapter other;
    other.tty = QStringLiteral("ttyUSB1");
    other.serial = QStringLiteral("B22");
    other.usbPort = QStringLiteral("1-5");
    sys.addUsbAdapter(other);

    const PortAdapter byDevice = portAdapter(device, sys.root());
    QCOMPARE(byDevice.byId, QStringLiteral("/dev/serial/by-id/") + FakeSystem::byIdName(a));
    QCOMPARE(byDevice.byPath, QStringLiteral("/dev/serial/by-path/pci-0000:00:14.0-usb-0:4:1.0-port0"));
    // Named by its stable link, the port is the same adapter on the same tty.
    const PortAdapter byLink = portAdapter(byDevice.byId, sys.root());
    QCOMPARE(byLink.device, device);
    QCOMPARE(byLink.serial, a.serial);
    QCOMPARE(byLink.byPath, byDevice.byPath);
    QCOMPARE(portAdapter(byDevice.byPath, sys.root()).byId, byDevice.byId);
    QCOMPARE(portAdapter(QStringLiteral("/dev/ttyUSB1"), sys.root()).serial, QStringLiteral("B22"));
}

void PortAdapterTest::portsWithoutSysfsDataShowJustTheirName()
{
    FakeSystem sys;
    const QString plain = sys.addPlainTty(QStringLiteral("ttyS0"));
    QCOMPARE(describePort(plain, sys.root()), plain);
    QVERIFY(portAdapter(plain, sys.root()).byId.isEmpty());
    QCOMPARE(describePort(QStringLiteral("/dev/ttyUSB7"), sys.root()), QStringLiteral("/dev/ttyUSB7"));
    // A real pseudo-terminal on the machine's own tree.
    OPEN_PAIR(pair);
    QCOMPARE(describePort(pair.slavePath()), pair.slavePath());

    // The scan's lines name the adapter where there is one.
    PortDiagnosis d;
    d.port = QStringLiteral("/dev/ttyUSB0");
    d.adapter = QStringLiteral("FTDI FT232R, A10K3XYZ");
    QCOMPARE(diagnosisLine(d, {}), QStringLiteral("/dev/ttyUSB0 (FTDI FT232R, A10K3XYZ): нет ответа."));
}

QTEST_GUILESS_MAIN(PortAdapterTest)
#include "test_port_adapter.moc"
