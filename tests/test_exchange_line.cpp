// The exchange machinery over a real serial line: a pseudo-terminal whose far
// end the test plays. The sending sequence, the idle close and the time-out
// with the port open, and packets that arrive while a packet handler's box
// is open.

#include "exchange_fixture.h"
#include "packet_frame.h"
#include "pty_pair.h"

#include <QTimer>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

SendRequest readSettingsRequest()
{
    SendRequest r;
    r.command = "Pt";
    r.state = ssReadSettings;
    r.noConnectionMessage = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
    return r;
}

} // namespace

class ExchangeLineTest : public QObject {
    Q_OBJECT
private slots:
    void senderPurgesOpensAndWritesFramedCommand();
    void senderRefusesPortThatWillNotOpen();
    void idleCloseActsOnlyInIdleState();
    void unansweredTimeoutBoxLetsIdleCloseShutThePort_data();
    void unansweredTimeoutBoxLetsIdleCloseShutThePort();
    void idleCloseInsideIdentificationBoxDoesNotBlock();
    void replyWhileRefusalBoxIsOpenWaitsForTheBox();
};

void ExchangeLineTest::senderPurgesOpensAndWritesFramedCommand()
{
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()});
    QList<QByteArray> routed;
    f.core().setRoute(ssReadSettings, [&](const QByteArray &Str) { routed << Str; });
    // A stale reply waiting in the queue before the command is purged.
    QVERIFY(pty.writeMaster(framed("stale")));
    QVERIFY(pty.waitSlaveQueued(9));
    f.form().shared.ConnectedPort = pty.slavePath();
    f.form().idleCloseTimer->start();
    QVERIFY(f.core().sendCommand(readSettingsRequest()));
    QVERIFY(f.form().port->Connected());
    QCOMPARE(f.form().port->Port(), pty.slavePath());
    QCOMPARE(f.state(), int(ssReadSettings));
    QVERIFY(f.form().responseTimer->isActive());
    QVERIFY(!f.form().idleCloseTimer->isActive());
    QCOMPARE(pty.readMaster(6), framed("Pt"));
    // Only the signal query logs what it sends.
    QVERIFY(f.log().isEmpty());
    QVERIFY(pty.writeMaster(framed("image")));
    QTRY_COMPARE(routed, QList<QByteArray>({"image"}));
}

void ExchangeLineTest::senderRefusesPortThatWillNotOpen()
{
    QTemporaryDir missing;
    ExchangeFixture f;
    f.form().shared.ConnectedPort = missing.filePath(QStringLiteral("no-such-port"));
    SendRequest r = readSettingsRequest();
    r.openErrorMessage = QStringLiteral("Ошибка соединения с устройством. Проверьте подключение");
    r.notOpenMessage = QStringLiteral("Ошибка соединения с портом. Проверьте подключение");
    QVERIFY(!f.core().sendCommand(r));
    QCOMPARE(f.boxes.texts(), QStringList({r.openErrorMessage}));
    // A device that no longer exists ends the connection.
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
    // Without its own message the open error is swallowed and the port's
    // state decides.
    f.form().shared.ConnectedPort = missing.filePath(QStringLiteral("no-such-port"));
    r.openErrorMessage.clear();
    QVERIFY(!f.core().sendCommand(r));
    QCOMPARE(f.boxes.texts().last(), r.notOpenMessage);
    QCOMPARE(f.state(), int(ssClosed));
    QVERIFY(!f.form().responseTimer->isActive());
}

void ExchangeLineTest::idleCloseActsOnlyInIdleState()
{
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()});
    f.form().shared.ConnectedPort = pty.slavePath();
    QVERIFY(f.core().sendCommand(readSettingsRequest()));
    f.form().responseTimer->stop();
    for (int s : {ssClosed, ssIdentify, ssReadSettings, ssWriteSettings, ssReadKeyTable, ssReadKey, ssPrepareKeyWrite,
                  ssWriteKeys, ssSignalLevel}) {
        f.core().setState(s);
        f.form().idleCloseTimer->start();
        f.core().onIdleClose();
        QVERIFY2(f.form().port->Connected(), qPrintable(QString::number(s)));
        QCOMPARE(f.state(), s);
        QVERIFY(!f.form().idleCloseTimer->isActive());
    }
    f.core().setState(ssIdle);
    f.form().idleCloseTimer->start();
    QTRY_VERIFY(!f.form().port->Connected());
    QCOMPARE(f.state(), int(ssClosed));
    QVERIFY(!f.form().idleCloseTimer->isActive());
}

void ExchangeLineTest::unansweredTimeoutBoxLetsIdleCloseShutThePort_data()
{
    QTest::addColumn<bool>("signalQuery");
    QTest::newRow("read settings") << false;
    QTest::newRow("signal level") << true;
}

void ExchangeLineTest::unansweredTimeoutBoxLetsIdleCloseShutThePort()
{
    QFETCH(bool, signalQuery);
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()});
    const TimerIntervals iv = f.intervals();
    f.form().shared.ConnectedPort = pty.slavePath();
    bool closedBehindBox = false;
    int stateBehindBox = -1;
    f.boxes.setWhileOpen([&](const ScriptedMessageBoxes::Shown &) {
        // Nobody answers: the second firing, then the idle close.
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().port->Connected(), 10 * iv.responseTimeoutMs);
        closedBehindBox = true;
        stateBehindBox = f.state();
        // A late reply is only logged.
        QVERIFY(pty.writeMaster(framed("late")));
    });
    if (signalQuery)
        f.exchange().signalLevel.startQuery();
    else
        QVERIFY(f.core().sendCommand(readSettingsRequest()));
    QTRY_COMPARE_WITH_TIMEOUT(f.boxes.shown().size(), 1, 10 * iv.responseTimeoutMs);
    QTRY_VERIFY(closedBehindBox);
    QCOMPARE(stateBehindBox, int(ssClosed));
    // Yes came after the close: the exchange ends without a purge error,
    // with the state idle and the port closed.
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].text, signalQuery ? QStringLiteral("НЕТ ответа о уровне сигнала.")
                                                  : QStringLiteral("Превышен период ожидания ответа устройства."));
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().port->Connected());
    QTest::qWait(3 * iv.idleCloseMs);
    QVERIFY(f.boxes.texts(BoxKind::Error).isEmpty());
    QVERIFY(!f.log().join(QLatin1Char('\n')).contains(QStringLiteral("late")));
}

void ExchangeLineTest::idleCloseInsideIdentificationBoxDoesNotBlock()
{
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()});
    const TimerIntervals iv = f.intervals();
    f.form().shared.ConnectedPort = pty.slavePath();
    // An exchange waits for its reply when the user starts a scan.
    QVERIFY(f.core().sendCommand(readSettingsRequest()));
    QCOMPARE(pty.readMaster(6), framed("Pt"));
    f.form().connectAction->trigger();
    QCOMPARE(readWhileRunning(pty, 6, 10 * iv.scanStepMs), framed("Tt"));
    bool closedInsideBox = false;
    f.boxes.setWhileOpen([&](const ScriptedMessageBoxes::Shown &) {
        // The earlier exchange times out behind the refusal box: state 11,
        // then the idle close shuts the port the reply came on.
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().port->Connected(), 10 * iv.responseTimeoutMs);
        closedInsideBox = true;
    });
    QVERIFY(pty.writeMaster(framed("On")));
    QTRY_VERIFY_WITH_TIMEOUT(closedInsideBox, 10 * iv.responseTimeoutMs);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.state(), int(ssClosed));
    QVERIFY(f.boxes.texts(BoxKind::Error).isEmpty());
    // The port opens again for the next exchange.
    f.boxes.setWhileOpen(nullptr);
    f.form().shared.ConnectedPort = pty.slavePath();
    QVERIFY(f.core().sendCommand(readSettingsRequest()));
    QCOMPARE(pty.readMaster(6), framed("Pt"));
}

void ExchangeLineTest::replyWhileRefusalBoxIsOpenWaitsForTheBox()
{
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()});
    const TimerIntervals iv = f.intervals();
    int deepest = 0;
    f.boxes.setWhileOpen([&](const ScriptedMessageBoxes::Shown &box) {
        deepest = std::max(deepest, f.boxes.openCount());
        if (box.kind != BoxKind::Information)
            return;
        // A second reply arrives while the refusal is on the screen.
        QVERIFY(pty.writeMaster(framed("T6 3.1")));
        QTest::qWait(5 * iv.scanStepMs);
        QCOMPARE(f.boxes.shown().size(), 1);
    });
    f.form().connectAction->trigger();
    QCOMPARE(readWhileRunning(pty, 6, 10 * iv.scanStepMs), framed("Tt"));
    QVERIFY(pty.writeMaster(framed("V5")));
    // The refusal ends the exchange: the idle close frees the port behind
    // the box, and the reply that waited is never taken as another
    // identification reply.
    QTRY_COMPARE(f.boxes.shown().size(), 1);
    QTRY_VERIFY(!f.form().port->Connected());
    QTest::qWait(5 * iv.scanStepMs);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(deepest, 1);
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
    QCOMPARE(f.log(), QStringList({QStringLiteral("входная строка: V5")}));
}

QTEST_MAIN(ExchangeLineTest)
#include "test_exchange_line.moc"
