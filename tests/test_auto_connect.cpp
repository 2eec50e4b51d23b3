// Plugged adapters: the window watches a device folder of its own, where the
// simulator's --link plays the adapter's node appearing and going.

#include "app/auto_connect.h"
#include "exchange_fixture.h"
#include "serial/device_watch.h"
#include "sim_process.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class AutoConnectTest : public QObject {
    Q_OBJECT
private slots:
    void theWatchReportsSerialDevicesOnly();
    void sameAdapterAcrossPlugIns_data();
    void sameAdapterAcrossPlugIns();
    void pluggedControllerConnectsAndComesBack();
};

void AutoConnectTest::theWatchReportsSerialDevicesOnly()
{
    QTemporaryDir dir;
    DeviceWatch watch(dir.path());
    QVERIFY(watch.isWatching());
    QSignalSpy appeared(&watch, &DeviceWatch::deviceAppeared);
    QSignalSpy removed(&watch, &DeviceWatch::deviceRemoved);
    auto touch = [&](const QString &rel) {
        QFile f(dir.filePath(rel));
        QVERIFY(f.open(QIODevice::WriteOnly));
    };
    touch(QStringLiteral("sda1"));
    touch(QStringLiteral("tty3"));
    touch(QStringLiteral("ttyUSB0"));
    // udev's folders come with the first adapter; links in them count.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("serial/by-id")));
    QTest::qWait(50);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("ttyUSB0")), dir.filePath(QStringLiteral("serial/by-id/usb-X"))));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("ttyUSB0"))));
    QTRY_COMPARE(appeared.size(), 2);
    QCOMPARE(appeared.at(0).at(0).toString(), dir.filePath(QStringLiteral("ttyUSB0")));
    QCOMPARE(appeared.at(1).at(0).toString(), dir.filePath(QStringLiteral("serial/by-id/usb-X")));
    QTRY_COMPARE(removed.size(), 1);
    QVERIFY(!DeviceWatch(dir.filePath(QStringLiteral("nothing"))).isWatching());
}

void AutoConnectTest::sameAdapterAcrossPlugIns_data()
{
    QTest::addColumn<QStringList>("before"); // device, by-id, by-path
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("same");
    QTest::newRow("same place, new name") << QStringList {"/dev/ttyUSB0", "", "pci-usb-0:2"}
                                          << QStringList {"/dev/ttyUSB1", "", "pci-usb-0:2"} << true;
    QTest::newRow("same serial, other socket") << QStringList {"/dev/ttyUSB0", "usb-FTDI_A1", "pci-usb-0:2"}
                                               << QStringList {"/dev/ttyUSB0", "usb-FTDI_A1", "pci-usb-0:3"} << true;
    QTest::newRow("other adapter, same name") << QStringList {"/dev/ttyUSB0", "usb-FTDI_A1", "pci-usb-0:2"}
                                              << QStringList {"/dev/ttyUSB0", "usb-FTDI_B2", "pci-usb-0:3"} << false;
    QTest::newRow("no links, same path") << QStringList {"/dev/x", "", ""} << QStringList {"/dev/x", "", ""} << true;
    QTest::newRow("no links, other path") << QStringList {"/dev/x", "", ""} << QStringList {"/dev/y", "", ""} << false;
}

void AutoConnectTest::sameAdapterAcrossPlugIns()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(bool, same);
    const AutoConnect::Identity a {before[0], before[1], before[2]};
    const AutoConnect::Identity b {after[0], after[1], after[2]};
    QCOMPARE(a.sameAdapter(b), same);
    QCOMPARE(b.sameAdapter(a), same);
}

void AutoConnectTest::pluggedControllerConnectsAndComesBack()
{
    QTemporaryDir dir;
    const QString dev = dir.filePath(QStringLiteral("dev"));
    QVERIFY(QDir().mkpath(dev));
    ScriptedMessageBoxes boxes;
    AppOptions options;
    options.includeSystemPorts = false;
    options.workDir = dir.path();
    options.intervals = fastIntervals();
    options.deviceFolder = dev;
    MainWindow form(options, boxes);
    QVERIFY(form.autoConnect);
    QVERIFY(form.autoConnectAction->isChecked()); // on by default
    auto *status = form.findChild<QLabel *>(QStringLiteral("StatusWatch"));
    QVERIFY(status);
    QSignalSpy scans(form.autoConnect, &AutoConnect::pluggedScanStarted);
    QStringList shownAtScan;
    connect(form.autoConnect, &AutoConnect::pluggedScanStarted, this, [&] { shownAtScan << status->text(); });
    const QString usb0 = dev + QStringLiteral("/ttyUSB0");

    // Plugged: the window scans the new port alone, without a box.
    QElapsedTimer clock;
    clock.start();
    auto sim = std::make_unique<SimProcess>(QStringList {QStringLiteral("--link"), usb0});
    QVERIFY2(sim->isRunning(), qPrintable(sim->errorText()));
    QTRY_COMPARE_WITH_TIMEOUT(scans.size(), 1, 1000);
    const qint64 seenMs = clock.elapsed();
    QCOMPARE(scans.at(0).at(0).toString(), usb0);
    QCOMPARE(shownAtScan.value(0), QStringLiteral("Подключён порт %1: поиск прибора").arg(usb0));
    QTRY_COMPARE_WITH_TIMEOUT(form.shared.ConnectedPort, usb0, 1000);
    qInfo("device appeared -> scan started %lld ms, -> connected %lld ms", seenMs, clock.elapsed());
    QVERIFY(form.statusPanels[1]->text().startsWith(QStringLiteral("соединен с ") + usb0));
    QVERIFY(!form.connectButton->isEnabled());
    QVERIFY2(boxes.texts().isEmpty(), qPrintable(boxes.texts().join('\n')));

    // Unticked, a new adapter is left alone ...
    form.autoConnectAction->setChecked(false);
    QVERIFY(!form.prefs.autoConnect());
    // ... and the controller's adapter pulled while the port is idle resets
    // the connected look at once.
    sim->stop();
    QTRY_VERIFY_WITH_TIMEOUT(form.shared.ConnectedPort.isEmpty(), 1000);
    QVERIFY(form.connectButton->isEnabled());
    {
        SimProcess other({QStringLiteral("--link"), dev + QStringLiteral("/ttyUSB1")});
        QVERIFY(other.isRunning());
        QTest::qWait(options.deviceSettleMs + 300);
        QCOMPARE(scans.size(), 1);
        QVERIFY(form.shared.ConnectedPort.isEmpty());
    }
    // The same adapter back: reconnected, ticked or not.
    sim = std::make_unique<SimProcess>(QStringList {QStringLiteral("--link"), usb0});
    QVERIFY(sim->isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(form.shared.ConnectedPort, usb0, 1500);
    QCOMPARE(scans.size(), 2);
    QCOMPARE(shownAtScan.value(1), QStringLiteral("Адаптер %1 снова подключён: соединение").arg(usb0));
    QCOMPARE(status->text(), QString());
    QVERIFY(boxes.texts().isEmpty());
}

QTEST_MAIN(AutoConnectTest)
#include "test_auto_connect.moc"
