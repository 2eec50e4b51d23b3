// The exchange state machine: the dispatch by state, the response time-out
// with its messages and its second firing behind an open box, the key-wait
// cancel and the idle close.

#include "exchange_fixture.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class ExchangeCoreTest : public QObject {
    Q_OBJECT
private slots:
    void everyPacketIsLoggedBeforeItIsRouted();
    void packetsInClosedAndIdleStatesAreOnlyLogged_data();
    void packetsInClosedAndIdleStatesAreOnlyLogged();
    void keyTablePacketsKeepStateAndTimeout();
    void routeOfAStateIsOneRegistration();
    void timeoutShowsItsMessageWordForWord_data();
    void timeoutShowsItsMessageWordForWord();
    void timeoutOfOtherStatesIsSilent_data();
    void timeoutOfOtherStatesIsSilent();
    void timeoutBoxClosedWithoutYesLeavesTimersAlone();
    void keyWaitCancelClosesPromptAndEnablesKeyPanel();
    void keyWaitCancelOnClosedPortRaisesNoPurgeError();
    void secondTimeoutFiringBehindOpenBoxIsSilent();
    void senderWithoutConnectionShowsItsMessageAndStopsTimers();
};

void ExchangeCoreTest::everyPacketIsLoggedBeforeItIsRouted()
{
    ExchangeFixture f;
    QStringList seenLog;
    QByteArray seen;
    f.core().setRoute(ssReadSettings, [&](const QByteArray &Str) {
        seen = Str;
        seenLog = f.log();
    });
    f.core().setState(ssReadSettings);
    f.deliver(QByteArray("A\xC0z", 3));
    QCOMPARE(seen, QByteArray("A\xC0z", 3));
    QCOMPARE(seenLog.size(), 1);
    QCOMPARE(seenLog.last(), QStringLiteral("входная строка: AАz"));
}

void ExchangeCoreTest::packetsInClosedAndIdleStatesAreOnlyLogged_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("closed") << int(ssClosed);
    QTest::newRow("idle") << int(ssIdle);
}

void ExchangeCoreTest::packetsInClosedAndIdleStatesAreOnlyLogged()
{
    QFETCH(int, state);
    ExchangeFixture f;
    f.form().idleCloseTimer->stop();
    f.form().responseTimer->start();
    f.core().setState(state);
    for (const QByteArray &p : {QByteArray("T6 1.0"), QByteArray("COK"), QByteArray("+CSQ: 17,0"), QByteArray()})
        f.deliver(p);
    QCOMPARE(f.state(), state);
    QVERIFY(f.boxes.shown().isEmpty());
    QVERIFY(f.form().responseTimer->isActive());
    QVERIFY(!f.form().idleCloseTimer->isActive());
    QVERIFY(!f.form().scanTimer->isActive());
    QCOMPARE(f.log(), QStringList({QStringLiteral("входная строка: T6 1.0"), QStringLiteral("входная строка: COK"),
                                   QStringLiteral("входная строка: +CSQ: 17,0"), QStringLiteral("входная строка: ")}));
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("."));
    QVERIFY(f.form().statusPanels[1]->text().isEmpty());
}

void ExchangeCoreTest::keyTablePacketsKeepStateAndTimeout()
{
    ExchangeFixture f;
    f.core().setState(ssReadKeyTable);
    f.form().responseTimer->start();
    // A packet too short for a key record changes nothing (a reply shorter
    // than a table ends once the line has been quiet)...
    f.deliver("rec1");
    QTRY_VERIFY(f.form().framer.pendingBuffer().isEmpty());
    QCOMPARE(f.state(), int(ssReadKeyTable));
    QVERIFY(f.form().responseTimer->isActive());
    // ...and every packet of the run reaches the state's route.
    QList<QByteArray> routed;
    f.core().setRoute(ssReadKeyTable, [&](const QByteArray &Str) { routed << Str; });
    // Short packets that do not end at a record boundary are told apart by
    // the quiet gap between them.
    for (const char *packet : {"rec2", "rec3", "rec4"}) {
        // Each packet is a reply of its own: its wait starts anew.
        f.form().responseTimer->start();
        f.deliver(packet);
        QTRY_VERIFY(f.form().framer.pendingBuffer().isEmpty());
    }
    QTRY_COMPARE(routed, QList<QByteArray>({"rec2", "rec3", "rec4"}));
    QCOMPARE(f.state(), int(ssReadKeyTable));
    QVERIFY(f.form().responseTimer->isActive());
    // The time-out is the normal, silent end of the run.
    QTRY_COMPARE_WITH_TIMEOUT(f.state(), int(ssIdle), 5000);
    QVERIFY(f.boxes.shown().isEmpty());
}

void ExchangeCoreTest::routeOfAStateIsOneRegistration()
{
    ExchangeFixture f;
    QVERIFY(f.core().hasRoute(ssIdentify));
    QVERIFY(f.core().hasRoute(ssSignalLevel));
    for (int s : {ssClosed, ssIdle})
        QVERIFY(!f.core().hasRoute(s));
    int calls = 0;
    f.core().setRoute(ssWriteKeys, [&](const QByteArray &) { ++calls; });
    f.core().setState(ssWriteKeys);
    f.deliver("Ok");
    QCOMPARE(calls, 1);
    f.core().setRoute(ssWriteKeys, nullptr);
    f.deliver("Ok");
    QCOMPARE(calls, 1);
}

void ExchangeCoreTest::timeoutShowsItsMessageWordForWord_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("cancelsKeyWait");
    QTest::newRow("read settings") << int(ssReadSettings)
                                   << QStringLiteral("Превышен период ожидания ответа устройства.") << false;
    QTest::newRow("write settings") << int(ssWriteSettings)
                                    << QStringLiteral("НЕТ ответа о окончании записи в устройство") << false;
    QTest::newRow("read key") << int(ssReadKey)
                              << QStringLiteral("Превышен период ожидания ответа устройства.\r\nНет информации о ключе.")
                              << true;
    QTest::newRow("prepare key write") << int(ssPrepareKeyWrite)
                                       << QStringLiteral("НЕТ ответа о готовности к чтению ключей") << true;
    QTest::newRow("signal level") << int(ssSignalLevel) << QStringLiteral("НЕТ ответа о уровне сигнала.") << true;
}

void ExchangeCoreTest::timeoutShowsItsMessageWordForWord()
{
    QFETCH(int, state);
    QFETCH(QString, message);
    QFETCH(bool, cancelsKeyWait);
    ExchangeFixture f;
    auto *prompt = new QFrame(&f.form());
    prompt->setObjectName(QStringLiteral("Panel7"));
    prompt->setVisible(true);
    auto *keyPanel = new QFrame(&f.form());
    keyPanel->setObjectName(QStringLiteral("Panel_key"));
    keyPanel->setEnabled(false);

    f.form().idleCloseTimer->stop();
    f.core().setState(state);
    f.form().responseTimer->start();
    bool responseTimerRanBehindBox = false;
    int stateInBox = -1;
    f.boxes.setWhileOpen([&](const ScriptedMessageBoxes::Shown &) {
        responseTimerRanBehindBox = f.form().responseTimer->isActive();
        stateInBox = f.state();
    });
    f.core().onResponseTimeout();

    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Confirmation);
    QCOMPARE(f.boxes.shown()[0].text, message);
    QVERIFY(responseTimerRanBehindBox);
    QCOMPARE(stateInBox, int(ssIdle));
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());
    QCOMPARE(prompt->isHidden(), cancelsKeyWait);
    QCOMPARE(prompt->isEnabled(), !cancelsKeyWait);
    QCOMPARE(keyPanel->isEnabled(), cancelsKeyWait);
}

void ExchangeCoreTest::timeoutOfOtherStatesIsSilent_data()
{
    QTest::addColumn<int>("state");
    for (int s : {ssClosed, ssIdentify, ssReadKeyTable, ssWriteKeys, ssIdle})
        QTest::newRow(QByteArray::number(s).constData()) << s;
}

void ExchangeCoreTest::timeoutOfOtherStatesIsSilent()
{
    QFETCH(int, state);
    ExchangeFixture f;
    f.form().idleCloseTimer->stop();
    f.core().setState(state);
    f.form().responseTimer->start();
    QSignalSpy timedOut(&f.core(), &ExchangeCore::responseTimedOut);
    f.core().onResponseTimeout();
    QVERIFY(f.boxes.shown().isEmpty());
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());
    QCOMPARE(timedOut.size(), 1);
    QCOMPARE(timedOut[0][0].toInt(), state);
}

void ExchangeCoreTest::timeoutBoxClosedWithoutYesLeavesTimersAlone()
{
    ExchangeFixture f;
    auto *prompt = new QFrame(&f.form());
    prompt->setObjectName(QStringLiteral("Panel7"));
    f.form().idleCloseTimer->stop();
    f.core().setState(ssReadKey);
    f.form().responseTimer->start();
    f.boxes.queueAnswers({false});
    f.core().onResponseTimeout();
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.state(), int(ssIdle));
    // Nothing more happens: the prompt stays, responseTimer runs on, no idle close.
    QVERIFY(f.form().responseTimer->isActive());
    QVERIFY(!f.form().idleCloseTimer->isActive());
    QVERIFY(prompt->isEnabled());
}

void ExchangeCoreTest::keyWaitCancelClosesPromptAndEnablesKeyPanel()
{
    ExchangeFixture f;
    // Without the key controls the cancel still ends the exchange.
    f.core().setState(ssReadKey);
    f.form().responseTimer->start();
    f.form().idleCloseTimer->stop();
    f.core().keyWaitCancel();
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());

    auto *prompt = new QFrame(&f.form());
    prompt->setObjectName(QStringLiteral("Panel7"));
    auto *keyPanel = new QFrame(&f.form());
    keyPanel->setObjectName(QStringLiteral("Panel_key"));
    keyPanel->setEnabled(false);
    f.core().keyWaitCancel();
    QVERIFY(prompt->isHidden());
    QVERIFY(!prompt->isEnabled());
    QVERIFY(keyPanel->isEnabled());
    QVERIFY(f.boxes.shown().isEmpty());
}

void ExchangeCoreTest::keyWaitCancelOnClosedPortRaisesNoPurgeError()
{
    ExchangeFixture f;
    QVERIFY(!f.form().port->Connected());
    f.core().setState(ssSignalLevel);
    f.form().responseTimer->start();
    f.form().guarded([&] { f.core().onResponseTimeout(); });
    QCOMPARE(f.boxes.texts(), QStringList({QStringLiteral("НЕТ ответа о уровне сигнала.")}));
    QVERIFY(f.boxes.texts(BoxKind::Error).isEmpty());
    QCOMPARE(f.state(), int(ssIdle));
}

void ExchangeCoreTest::secondTimeoutFiringBehindOpenBoxIsSilent()
{
    ExchangeFixture f;
    const TimerIntervals iv = f.intervals();
    bool sawSecondFiring = false;
    bool idleCloseRanBehindBox = false;
    f.boxes.setWhileOpen([&](const ScriptedMessageBoxes::Shown &) {
        // The box stays open well past the second firing.
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().responseTimer->isActive(), 10 * iv.responseTimeoutMs);
        sawSecondFiring = true;
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().idleCloseTimer->isActive(), 20 * iv.idleCloseMs);
        idleCloseRanBehindBox = true;
    });
    f.form().idleCloseTimer->stop();
    f.core().setState(ssReadSettings);
    f.form().responseTimer->start();
    QTRY_COMPARE_WITH_TIMEOUT(f.boxes.shown().size(), 1, 10 * iv.responseTimeoutMs);
    QTRY_VERIFY(idleCloseRanBehindBox);
    QVERIFY(sawSecondFiring);
    // Only one box: the second firing found state 11 and took the silent
    // branch. Yes afterwards leaves the exchange ended.
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
}

void ExchangeCoreTest::senderWithoutConnectionShowsItsMessageAndStopsTimers()
{
    ExchangeFixture f;
    f.form().responseTimer->start();
    SendRequest r;
    r.command = "Pt";
    r.state = ssReadSettings;
    r.noConnectionMessage = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
    QVERIFY(!f.core().sendCommand(r));
    QCOMPARE(f.boxes.texts(BoxKind::Plain), QStringList({r.noConnectionMessage + QStringLiteral("\r\nНажмите «Соединить», чтобы найти прибор.")}));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(!f.form().idleCloseTimer->isActive());
    QCOMPARE(f.state(), int(ssClosed));
}

QTEST_MAIN(ExchangeCoreTest)
#include "test_exchange_core.moc"
