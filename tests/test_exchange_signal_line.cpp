// The signal level query over a real serial line: the far end of a
// pseudo-terminal plays the controller. The window stays responsive while
// it waits, a quick reply is shown, and of the first read only the framed
// bytes reach the framer.

#include "core/cp1251.h"
#include "exchange_fixture.h"
#include "packet_frame.h"
#include "pty_pair.h"
#include "sim_process.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QByteArray kReply17 = framed("+CSQ: 17,0");

// A window connected to the pseudo-terminal, as after a scan.
struct Connected {
    explicit Connected(const TimerIntervals &iv = fastIntervals())
    {
        if (!pty.isOpen())
            return;
        f = std::make_unique<ExchangeFixture>(QStringList{pty.slavePath()}, iv);
        f->form().shared.ConnectedPort = pty.slavePath();
    }
    PtyPair pty;
    std::unique_ptr<ExchangeFixture> f;
};

} // namespace

class SignalLineTest : public QObject {
    Q_OBJECT
private slots:
    void queryLogsAndSendsSgWithoutBlocking();
    void quickReplyIsShown_data();
    void quickReplyIsShown();
    void firstPolledReadFeedsOnlyFramedBytes_data();
    void firstPolledReadFeedsOnlyFramedBytes();
    void unframedFirstReadIsDiscardedAndLaterReplyShown();
    void noReplyEndsInTimeoutAndClosesPort();
    void windowFindsSimulatorAndShowsItsLevel_data();
    void windowFindsSimulatorAndShowsItsLevel();
};

void SignalLineTest::queryLogsAndSendsSgWithoutBlocking()
{
    // With these intervals a blocking poll would hold the window 5 s.
    TimerIntervals iv = fastIntervals();
    iv.signalPollMs = 50;
    iv.signalPolls = 100;
    iv.responseTimeoutMs = 10000;
    Connected c(iv);
    QVERIFY2(c.pty.isOpen(), qPrintable(c.pty.errorString()));
    ExchangeFixture &f = *c.f;
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(c.pty.readMaster(6), framed("Sg"));
    QCOMPARE(
        f.form().eventLog.lines(), QList<QByteArray>({toCp1251(QStringLiteral("выходная строка: ")) + framed("Sg")}));
    QCOMPARE(f.state(), int(ssSignalLevel));
    QVERIFY(f.form().responseTimer->isActive());
    QVERIFY(f.exchange().signalLevel.polling());
    // The event loop goes on meanwhile: other timers fire.
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QTRY_VERIFY_WITH_TIMEOUT(fired, 1000);
    QCOMPARE(f.state(), int(ssSignalLevel));
    QVERIFY(c.pty.writeMaster(kReply17));
    QTRY_COMPARE(f.form().signalLabel->text(), QStringLiteral("-79 dBm"));
    QCOMPARE(f.form().signalGauge->value(), 54);
    QVERIFY(!f.exchange().signalLevel.polling());
}

void SignalLineTest::quickReplyIsShown_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("framed") << kReply17;
    QTest::newRow("junk first") << QByteArray("AT+CSQ\r\nOK\r\n") + kReply17;
    QTest::newRow("junk with a stop marker") << QByteArray("x\xFF\xFE\r\n", 5) + kReply17;
    QTest::newRow("long junk") << QByteArray(300, 'j') + kReply17;
}

void SignalLineTest::quickReplyIsShown()
{
    QFETCH(QByteArray, reply);
    Connected c;
    QVERIFY2(c.pty.isOpen(), qPrintable(c.pty.errorString()));
    ExchangeFixture &f = *c.f;
    QSignalSpy finished(&f.exchange().signalLevel, &SignalLevelQuery::queryFinished);
    f.exchange().signalLevel.startQuery();
    QCOMPARE(c.pty.readMaster(6), framed("Sg"));
    // The whole reply is queued before the window looks at the line.
    QVERIFY(c.pty.writeMaster(reply));
    QVERIFY(c.pty.waitSlaveQueued(int(reply.size())));
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].value<SignalOutcome>(), SignalOutcome::Shown);
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("-79 dBm"));
    QCOMPARE(f.form().signalGauge->value(), 54);
    QVERIFY(f.boxes.shown().isEmpty());
    QCOMPARE(f.state(), int(ssIdle));
    // The idle close follows.
    QTRY_VERIFY(!f.form().port->Connected());
    QCOMPARE(f.state(), int(ssClosed));
}

void SignalLineTest::firstPolledReadFeedsOnlyFramedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("label");
    // The first poll takes 20 bytes.
    QTest::newRow("whole reply") << kReply17 << QStringLiteral("-79 dBm");
    QTest::newRow("reply cut by the read") << QByteArray("0123456789") + framed("+CSQ: 5,0") << QStringLiteral("-103 dBm");
    QTest::newRow("junk fills the read") << QByteArray(25, 'j') + kReply17 << QStringLiteral("-79 dBm");
    QTest::newRow("start marker split by the read")
        << QByteArray(19, 'j') + framed("+CSQ: 31,0") << QStringLiteral("-51 dBm");
}

void SignalLineTest::firstPolledReadFeedsOnlyFramedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    Connected c;
    QVERIFY2(c.pty.isOpen(), qPrintable(c.pty.errorString()));
    ExchangeFixture &f = *c.f;
    f.exchange().signalLevel.startQuery();
    QCOMPARE(c.pty.readMaster(6), framed("Sg"));
    QVERIFY(c.pty.writeMaster(bytes));
    QVERIFY(c.pty.waitSlaveQueued(int(bytes.size())));
    // The poll reads before the port's own hand-over gets the bytes.
    f.exchange().signalLevel.pollTick();
    QVERIFY(!f.exchange().signalLevel.polling());
    QVERIFY(!f.form().framer.pendingBuffer().contains('j'));
    QTRY_COMPARE(f.form().signalLabel->text(), label);
    QCOMPARE(f.state(), int(ssIdle));
}

void SignalLineTest::unframedFirstReadIsDiscardedAndLaterReplyShown()
{
    Connected c;
    QVERIFY2(c.pty.isOpen(), qPrintable(c.pty.errorString()));
    ExchangeFixture &f = *c.f;
    f.exchange().signalLevel.startQuery();
    QCOMPARE(c.pty.readMaster(6), framed("Sg"));
    // The module's own unframed answer comes first...
    const QByteArray unframed("+CSQ: 12,0\r\n");
    QVERIFY(c.pty.writeMaster(unframed));
    QTRY_VERIFY(!f.exchange().signalLevel.polling());
    QVERIFY(f.form().framer.pendingBuffer().isEmpty());
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("."));
    QCOMPARE(f.state(), int(ssSignalLevel));
    // ...and the framed reply after it is handed to the framer as usual.
    QVERIFY(c.pty.writeMaster(framed("+CSQ: 99,99")));
    QTRY_COMPARE(f.form().signalLabel->text(), QStringLiteral("нет связи"));
    QCOMPARE(f.form().signalLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void SignalLineTest::noReplyEndsInTimeoutAndClosesPort()
{
    Connected c;
    QVERIFY2(c.pty.isOpen(), qPrintable(c.pty.errorString()));
    ExchangeFixture &f = *c.f;
    f.form().signalLabel->setText(QStringLiteral("-79 dBm"));
    QSignalSpy finished(&f.exchange().signalLevel, &SignalLevelQuery::queryFinished);
    f.exchange().signalLevel.startQuery();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10 * f.intervals().responseTimeoutMs);
    QCOMPARE(finished[0][0].value<SignalOutcome>(), SignalOutcome::TimedOut);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Confirmation);
    QCOMPARE(f.boxes.shown()[0].text, QStringLiteral("НЕТ ответа о уровне сигнала."));
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("-79 dBm"));
    QCOMPARE(f.state(), int(ssIdle));
    QTRY_VERIFY(!f.form().port->Connected());
    QCOMPARE(f.state(), int(ssClosed));
}

void SignalLineTest::windowFindsSimulatorAndShowsItsLevel_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("gauge");
    QTest::newRow("quick") << QStringList({QStringLiteral("--csq"), QStringLiteral("25")}) << QStringLiteral("-63 dBm") << 80;
    // The reply comes after several empty polls.
    QTest::newRow("late") << QStringList({QStringLiteral("--delay"), QStringLiteral("80")}) << QStringLiteral("-79 dBm") << 54;
    QTest::newRow("junk and pieces") << QStringList({QStringLiteral("--junk"), QStringLiteral("0D 0A 4F 4B 0D 0A"),
                                                     QStringLiteral("--chunk"), QStringLiteral("3"),
                                                     QStringLiteral("--csq-reply"), QStringLiteral("+CSQ: 5,99")})
                                     << QStringLiteral("-103 dBm") << 16;
}

void SignalLineTest::windowFindsSimulatorAndShowsItsLevel()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, label);
    QFETCH(int, gauge);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ExchangeFixture f({sim.devicePath()});
    QTest::mouseClick(f.form().connectButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.form().shared.ConnectedPort, sim.devicePath(), 20 * f.intervals().scanStepMs);
    QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.form().signalLabel->text(), label, 5 * f.intervals().responseTimeoutMs);
    QCOMPARE(f.form().signalGauge->value(), gauge);
    QCOMPARE(f.boxes.texts(), QStringList({QStringLiteral("соединение установлено.")}));
    QTRY_VERIFY(!f.form().port->Connected());
}

QTEST_MAIN(SignalLineTest)
#include "test_exchange_signal_line.moc"
