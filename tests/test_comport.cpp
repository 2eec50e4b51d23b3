// The serial port's line over pseudo-terminal pairs: the port opens the slave
// side like a serial device, the test plays the controller on the master side.

#include "serial_test_util.h"

#include <QSignalSpy>
#include <QtTest>

#include <cerrno>
#include <termios.h>

using namespace zarven;
using namespace zarven::test;

namespace {

// Names the pair's terminal side and opens the port there.
void openOn(SerialPort &port, const PtyPair &pair)
{
    port.setPort(pair.slavePath());
    port.OpenPort();
}

// The same, with every chunk the port hands over collected in got.
void openOn(SerialPort &port, const PtyPair &pair, Received &got)
{
    port.setReceiver(got.receiver());
    openOn(port, pair);
}

} // namespace

class ComPortTest : public QObject {
    Q_OBJECT

private slots:
    // A Qt warning (an invalid socket notifier, say) is a fault here.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

    // Opening, line settings, exclusive use
    void openAppliesTheControllerLineSettings();
    void openingAnOpenPortOrClosingAClosedOneDoesNothing();
    void portNameChangeReopensOnlyForAnotherName();
    void secondOpenerIsRefused();
    void openFailuresCarryTheSystemError();

    // Data both ways, purge, reads, writes
    void everyByteValuePassesUnchangedBothWays();
    void handOverDeliversEverythingQueuedAsOneChunk();
    void purgeDiscardsQueuedInput();
    void purgeWhileClosedRaisesError5();
    void readUpToReturnsAtOnceWithWhatIsQueued();
    void writeGivesUpAfterTheWriteTimeOut();

    // A line that fails under us
    void farEndHangingUpMidReadClosesPortWithoutSpinning();
    void writeToHungUpLineClosesPortAndRaisesError2();
    void readUpToOnHungUpLineClosesPortAndRaisesError3();

    // Error texts
    void errorTextsFollowTheIndexTable_data();
    void errorTextsFollowTheIndexTable();
};

void ComPortTest::openAppliesTheControllerLineSettings()
{
    OPEN_PAIR(pair);
    QVERIFY(spoilLineSettings(pair.slaveFd()));
    SerialPort port;
    QCOMPARE(port.Port(), QStringLiteral("COM1"));
    QVERIFY(!port.Connected());
    port.setPort(pair.slavePath());
    QVERIFY(!port.Connected()); // naming a closed port does not open it
    port.OpenPort();
    QVERIFY(port.Connected());

    // Terminal settings belong to the device: read them back from it.
    termios t {};
    QVERIFY(::tcgetattr(pair.slaveFd(), &t) == 0);
    QCOMPARE(::cfgetospeed(&t), speed_t(B38400));
    QCOMPARE(::cfgetispeed(&t), speed_t(B38400));
    QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    QCOMPARE(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK), tcflag_t(0));
    QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(int(t.c_cc[VMIN]), 0);
    QCOMPARE(int(t.c_cc[VTIME]), 0);
}

void ComPortTest::openingAnOpenPortOrClosingAClosedOneDoesNothing()
{
    OPEN_PAIR(pair);
    SerialPort port;
    port.ClosePort(); // closed already: nothing, no error
    QVERIFY(!port.Connected());
    openOn(port, pair);
    QVERIFY(spoilLineSettings(pair.slaveFd()));
    port.OpenPort(); // a reopen would set 38400 again
    QVERIFY(port.Connected());
    QCOMPARE(outputSpeed(pair.slaveFd()), speed_t(B9600));
    port.ClosePort();
    QVERIFY(!port.Connected());
    port.ClosePort();
    QVERIFY(!port.Connected());
}

void ComPortTest::portNameChangeReopensOnlyForAnotherName()
{
    OPEN_PAIR(first);
    OPEN_PAIR(second);
    Received got;
    SerialPort port;
    openOn(port, first, got);

    QVERIFY(spoilLineSettings(first.slaveFd()));
    port.setPort(first.slavePath());
    QVERIFY(port.Connected());
    QCOMPARE(outputSpeed(first.slaveFd()), speed_t(B9600)); // not reopened

    port.setPort(second.slavePath());
    QVERIFY(port.Connected());
    QCOMPARE(port.Port(), second.slavePath());
    QCOMPARE(outputSpeed(second.slaveFd()), speed_t(B38400));
    // The first line was let go: someone else may now have it exclusively.
    SerialPort other;
    openOn(other, first);
    QVERIFY(other.Connected());

    QVERIFY(second.writeMaster("from second"));
    QTRY_COMPARE(got.all(), QByteArray("from second"));
}

void ComPortTest::secondOpenerIsRefused()
{
    OPEN_PAIR(pair);
    Received got;
    SerialPort first;
    openOn(first, pair, got);

    SerialPort second; // another program or another instance of the tool alike
    second.setPort(pair.slavePath());
    EXPECT_COM_ERROR_CODE(second.OpenPort(), SerialPortError::OpenFailed, EBUSY);
    QVERIFY(!second.Connected());
    QVERIFY(first.Connected());
    QVERIFY(pair.writeMaster("still mine"));
    QTRY_COMPARE(got.all(), QByteArray("still mine"));

    first.ClosePort();
    second.OpenPort();
    QVERIFY(second.Connected());
}

void ComPortTest::openFailuresCarryTheSystemError()
{
    SerialPort port;
    port.setPort(QStringLiteral("/dev/zarven-no-such-port"));
    EXPECT_COM_ERROR_CODE(port.OpenPort(), SerialPortError::OpenFailed, ENOENT);
    QVERIFY(!port.Connected());

    // A device that is no terminal cannot take the line settings.
    port.setPort(QStringLiteral("/dev/null"));
    EXPECT_COM_ERROR_CODE(port.OpenPort(), SerialPortError::SetStateFailed, ENOTTY);
    QVERIFY(!port.Connected());
}

void ComPortTest::everyByteValuePassesUnchangedBothWays()
{
    OPEN_PAIR(pair);
    QVERIFY(spoilLineSettings(pair.slaveFd())); // CR/LF translation, XON/XOFF, echo: all must go
    Received got;
    SerialPort port;
    openOn(port, pair, got);

    QByteArray stream = allByteValues();
    std::reverse(stream.begin(), stream.end());
    stream = allByteValues() + QByteArray(3, '\0') + stream;
    QVERIFY(pair.writeMaster(stream));
    QTRY_COMPARE(got.all().size(), stream.size());
    QCOMPARE(got.all(), stream);

    QCOMPARE(port.SendString(stream), qint64(stream.size()));
    QCOMPARE(pair.readMaster(stream.size()), stream);
    QCOMPARE(pair.drainMaster(), QByteArray()); // nothing echoed or added
    QCOMPARE(port.SendString(QByteArray()), qint64(0));
}

void ComPortTest::handOverDeliversEverythingQueuedAsOneChunk()
{
    OPEN_PAIR(pair);
    Received got;
    SerialPort port;
    openOn(port, pair, got);

    const QByteArray block = allByteValues() + QByteArray(44, 'q');
    QVERIFY(pair.writeMaster(block));
    QVERIFY(pair.waitSlaveQueued(block.size())); // the event loop has not run yet
    QTRY_COMPARE(got.chunks.size(), 1);
    QTest::qWait(50);
    QCOMPARE(got.chunks.size(), 1);
    QCOMPARE(got.chunks.first(), block);
}

void ComPortTest::purgeDiscardsQueuedInput()
{
    OPEN_PAIR(pair);
    Received got;
    SerialPort port;
    openOn(port, pair, got);

    QVERIFY(pair.writeMaster("stale reply"));
    QVERIFY(pair.waitSlaveQueued(11));
    port.PurgePort(true, true);
    QCOMPARE(pair.slaveQueued(), 0);
    QCOMPARE(port.ReadUpTo(100), QByteArray());

    QVERIFY(pair.writeMaster("fresh"));
    QTRY_COMPARE(got.all(), QByteArray("fresh"));
    QCOMPARE(got.chunks.size(), 1);
}

void ComPortTest::purgeWhileClosedRaisesError5()
{
    SerialPort port;
    EXPECT_COM_ERROR(port.PurgePort(true, true), SerialPortError::PurgeFailed);
}

void ComPortTest::readUpToReturnsAtOnceWithWhatIsQueued()
{
    OPEN_PAIR(pair);
    SerialPort port;
    openOn(port, pair);

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i)
        QCOMPARE(port.ReadUpTo(64), QByteArray());
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));

    QVERIFY(pair.writeMaster(QByteArray("+CSQ\0:", 6)));
    QVERIFY(pair.waitSlaveQueued(6));
    QCOMPARE(port.ReadUpTo(4), QByteArray("+CSQ"));
    QCOMPARE(port.ReadUpTo(100), QByteArray("\0:", 2));
    QCOMPARE(port.ReadUpTo(100), QByteArray());

    port.ClosePort();
    EXPECT_COM_ERROR(port.ReadUpTo(10), SerialPortError::ReadFailed);
    EXPECT_COM_ERROR(port.SendString("x"), SerialPortError::WriteFailed);
}

void ComPortTest::writeGivesUpAfterTheWriteTimeOut()
{
    OPEN_PAIR(pair);
    SerialPort port;
    openOn(port, pair);
    // The far end stops reading: the line's buffers fill up.
    QVERIFY(pair.fillSlaveOutput() > 0);

    const int n = 5;
    const qint64 limitMs = 1000 + 100 * n;
    QElapsedTimer clock;
    clock.start();
    const qint64 written = port.SendString(QByteArray(n, 'z'));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(written < n, qPrintable(QString::number(written)));
    QVERIFY2(elapsed >= limitMs - 50 && elapsed < limitMs + 700, qPrintable(QString::number(elapsed)));
    QVERIFY(port.Connected());

    // Once the far end reads again, writes complete at once.
    while (!pair.drainMaster(20).isEmpty()) {
    }
    clock.restart();
    QCOMPARE(port.SendString("ok"), qint64(2));
    QVERIFY(clock.elapsed() < 500);
    QCOMPARE(pair.readMaster(2), QByteArray("ok"));
}

void ComPortTest::farEndHangingUpMidReadClosesPortWithoutSpinning()
{
    auto pair = std::make_unique<PtyPair>();
    QVERIFY(pair->isOpen());
    Received got;
    SerialPort port;
    QSignalSpy lost(&port, &SerialPort::lineLost);
    openOn(port, *pair, got);

    QVERIFY(pair->writeMaster(QByteArray("\xFE\xFFhalf a pac", 12)));
    QTRY_COMPARE(got.all().size(), 12);
    pair->closeMaster(); // unplugged mid-packet
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!port.Connected());
    QVERIFY(!lost.first().first().toString().isEmpty());

    const int chunks = got.chunks.size();
    QVERIFY2(runNestedLoop(300) < kIdleCpuSeconds, "the event loop spins after the hang-up");
    QCOMPARE(got.chunks.size(), chunks);
    QCOMPARE(lost.count(), 1);
    // The next sender finds the port closed.
    EXPECT_COM_ERROR(port.SendString("Tt"), SerialPortError::WriteFailed);
}

void ComPortTest::writeToHungUpLineClosesPortAndRaisesError2()
{
    OPEN_PAIR(pair);
    SerialPort port;
    QSignalSpy lost(&port, &SerialPort::lineLost);
    openOn(port, pair);
    pair.closeMaster();
    // No event loop in between: the write meets the hang-up first.
    EXPECT_COM_ERROR_CODE(port.SendString("Pt"), SerialPortError::WriteFailed, EIO);
    QVERIFY(!port.Connected());
    QCOMPARE(lost.count(), 1);
    QTest::qWait(50);
    QCOMPARE(lost.count(), 1);
}

void ComPortTest::readUpToOnHungUpLineClosesPortAndRaisesError3()
{
    OPEN_PAIR(pair);
    SerialPort port;
    QSignalSpy lost(&port, &SerialPort::lineLost);
    openOn(port, pair);
    pair.closeMaster();
    EXPECT_COM_ERROR(port.ReadUpTo(16), SerialPortError::ReadFailed);
    QVERIFY(!port.Connected());
    QCOMPARE(lost.count(), 1);
}

void ComPortTest::errorTextsFollowTheIndexTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "Unable to open com port";
    QTest::newRow("2") << 2 << "WriteFile function failed";
    QTest::newRow("3") << 3 << "ReadFile function failed";
    QTest::newRow("4") << 4 << "Invalid Async parameter";
    QTest::newRow("5") << 5 << "PurgeComm function failed";
    QTest::newRow("7") << 7 << "SetCommState function failed";
    QTest::newRow("8") << 8 << "SetCommTimeouts failed";
    QTest::newRow("9") << 9 << "SetupComm function failed";
    QTest::newRow("10") << 10 << "ClearCommError function failed";
    QTest::newRow("11") << 11 << "GetCommModemStatus function failed";
    QTest::newRow("18") << 18 << "Link (un)registration failed";
    QTest::newRow("23") << 23 << "Registry error";
}

void ComPortTest::errorTextsFollowTheIndexTable()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    const SerialPortError bare(index);
    QCOMPARE(bare.message(), text);
    QCOMPARE(bare.systemCode(), -1);
    QCOMPARE(bare.index(), index);
    const SerialPortError withCode(index, EACCES);
    QCOMPARE(withCode.message(), text + QStringLiteral(" (error code: %1, %2)").arg(EACCES).arg(errnoText(EACCES)));
    QCOMPARE(withCode.systemCode(), EACCES);
    QCOMPARE(QString::fromUtf8(withCode.what()), withCode.message());
}

QTEST_GUILESS_MAIN(ComPortTest)
#include "test_comport.moc"
