// Why a port gave nothing: real pseudo-terminals, a real process holding
// one, a fake /proc tree, and a device this (unprivileged) test process may
// not open; then the same through the window's scan, in English, and a
// controller unplugged in the middle of an exchange.

#include "exchange_fixture.h"
#include "pty_pair.h"
#include "serial/port_diagnosis.h"
#include "sim_process.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zarven;
using namespace zarven::test;

Q_DECLARE_METATYPE(zarven::PortFault)

namespace {

// A process that holds the device open the way a modem manager does: as an
// ordinary descriptor, without locking it.
struct Holder {
    QProcess process;
    explicit Holder(const QString &device)
    {
        process.setStandardInputFile(device);
        process.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        process.waitForStarted();
    }
    ~Holder()
    {
        process.kill();
        process.waitForFinished();
    }
};

// The system error code of opening the device through the real port.
int openError(const QString &device)
{
    SerialPort port;
    port.setPort(device);
    try {
        port.OpenPort();
    } catch (const SerialPortError &e) {
        return e.systemCode();
    }
    port.ClosePort();
    return 0;
}

// Gives the device to root:dialout without any access, as a serial device
// looks to a user outside the group.
bool lockOut(const QString &device)
{
    const group *dialout = ::getgrnam("dialout");
    const QByteArray path = QFile::encodeName(device);
    return dialout && ::chown(path.constData(), 0, dialout->gr_gid) == 0 && ::chmod(path.constData(), 0) == 0;
}

} // namespace

class PortDiagnosisTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { dropFileAccessOverride(); }

    void diagnosis_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<PortFault>("fault");
        QTest::newRow("quiet port") << "quiet" << PortFault::NoAnswer;
        QTest::newRow("missing node") << "missing" << PortFault::Vanished;
        QTest::newRow("unplugged while listed") << "unplugged" << PortFault::Vanished;
        QTest::newRow("no permission") << "locked" << PortFault::NoPermission;
        QTest::newRow("busy, holder unseen") << "busy" << PortFault::HeldByProgram;
        QTest::newRow("held by a process") << "held" << PortFault::HeldByProgram;
        QTest::newRow("held per fake /proc") << "fakeproc" << PortFault::HeldByProgram;
    }

    void diagnosis()
    {
        QFETCH(QString, kind);
        QFETCH(PortFault, fault);
        QTemporaryDir dir;
        PtyPair pty(kind != QLatin1String("unplugged"));
        QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
        QString device = pty.slavePath();
        int error = 0;
        QString procRoot = QStringLiteral("/proc");
        QList<PortHolder> holders;
        std::unique_ptr<Holder> holder;
        if (kind == QLatin1String("missing")) {
            device = dir.filePath(QStringLiteral("ttyUSB7"));
            error = openError(device);
        } else if (kind == QLatin1String("unplugged")) {
            pty.closeMaster();
        } else if (kind == QLatin1String("locked")) {
            QVERIFY(lockOut(device));
            error = openError(device);
        } else if (kind == QLatin1String("busy")) {
            error = EBUSY;
        } else if (kind == QLatin1String("held")) {
            holder = std::make_unique<Holder>(device);
            holders = {{holder->process.processId(), QStringLiteral("sleep")}};
        } else if (kind == QLatin1String("fakeproc")) {
            procRoot = dir.filePath(QStringLiteral("proc"));
            QVERIFY(QDir().mkpath(procRoot + QStringLiteral("/4242/fd")));
            QVERIFY(QDir().mkpath(procRoot + QStringLiteral("/77/fd")));
            QFile comm(procRoot + QStringLiteral("/4242/comm"));
            QVERIFY(comm.open(QIODevice::WriteOnly));
            comm.write("ModemManager\n");
            comm.close();
            QVERIFY(QFile::link(device, procRoot + QStringLiteral("/4242/fd/9")));
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), procRoot + QStringLiteral("/77/fd/0")));
            holders = {{4242, QStringLiteral("ModemManager")}};
        }
        const PortDiagnosis d = diagnosePort(device, error, procRoot);
        QCOMPARE(d.port, device);
        QCOMPARE(d.fault, fault);
        QCOMPARE(d.holders, holders);
        if (fault == PortFault::NoPermission) {
            QCOMPARE(error, EACCES);
            QCOMPARE(d.group, QStringLiteral("dialout"));
        }
    }

    // The scan's message names each port's trouble in the window's language,
    // and the status bar follows the scan from port to port.
    void scanExplainsEveryPortInEnglish()
    {
        PtyPair lockedPty, heldPty;
        QVERIFY(lockedPty.isOpen() && heldPty.isOpen());
        QTemporaryDir dir;
        const QString locked = dir.filePath(QStringLiteral("a"));
        const QString held = dir.filePath(QStringLiteral("b"));
        QVERIFY(QFile::link(lockedPty.slavePath(), locked) && QFile::link(heldPty.slavePath(), held));
        QVERIFY(lockOut(lockedPty.slavePath()));
        Holder holder(heldPty.slavePath());

        ExchangeFixture f({held, locked});
        f.form().englishAction->trigger();
        f.boxes.clear();
        QSignalSpy finished(&f.exchange().scan, &ControllerScan::scanFinished);
        f.form().connectAction->trigger();
        QTRY_COMPARE(f.form().statusPanels[1]->text(), QStringLiteral("Searching: %1 (1 of 2)").arg(locked));
        QTRY_VERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        QTRY_COMPARE(f.form().statusPanels[1]->text(), QStringLiteral("Searching: %1 (2 of 2)").arg(held));
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(f.boxes.texts(),
                 QStringList({QStringLiteral("Communication error (no answer). Check that the device is connected.\r\n"
                                             "%1: no permission to open the port. Add your user to the dialout group "
                                             "(sudo usermod -aG dialout $USER), then log out and in again.\r\n"
                                             "%2: the port is in use by sleep (PID %3). Close that program and "
                                             "search again.")
                                  .arg(locked, held)
                                  .arg(holder.process.processId())}));
        QVERIFY(f.form().statusPanels[1]->text().isEmpty());
        QTRY_VERIFY(!QApplication::overrideCursor());
    }

    void unpluggedControllerEndsTheConnection()
    {
        auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--silent"), QStringLiteral("Sg")});
        QVERIFY2(sim->isRunning(), qPrintable(sim->errorText()));
        const QString device = sim->devicePath();
        TimerIntervals iv = fastIntervals();
        iv.responseTimeoutMs = 20000;
        iv.signalPolls = 2000;
        ExchangeFixture f({device}, iv);
        QSignalSpy finished(&f.exchange().scan, &ControllerScan::scanFinished);
        f.form().connectAction->trigger();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(f.form().shared.ConnectedPort, device);
        QTRY_VERIFY(!f.form().port->Connected());

        f.form().signalGauge->setValue(54);
        f.form().signalLabel->setText(QStringLiteral("-79 dBm"));
        QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
        QVERIFY(f.form().port->Connected());
        sim.reset(); // the far end goes away: a hang-up on the open line

        QTRY_VERIFY(f.form().shared.ConnectedPort.isEmpty());
        QVERIFY(!f.form().port->Connected());
        QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединить"));
        QVERIFY(f.form().connectButton->isEnabled());
        QCOMPARE(f.form().statusPanels[1]->text(), QStringLiteral("Связь с прибором потеряна (%1)").arg(device));
        QCOMPARE(f.form().signalGauge->value(), 0);
        QCOMPARE(f.form().signalLabel->text(), QStringLiteral("."));

        // The next exchange asks for a scan at once instead of waiting.
        f.form().responseTimer->stop();
        f.boxes.clear();
        QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
        QCOMPARE(f.boxes.texts().size(), 1);
        QVERIFY(!f.form().responseTimer->isActive());
    }
};

QTEST_MAIN(PortDiagnosisTest)
#include "test_port_diagnosis.moc"
