// The controller scan over several pseudo-terminals: silent ports played by
// the test, answering ones by simulated controllers. Port names are links in
// a temporary folder, so that their list order is known.

#include "exchange_fixture.h"
#include "pty_pair.h"
#include "sim_process.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QByteArray kTt("\xFE\xFFTt\xFF\xFE", 6);
const QString kNoAnswer = QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство.");

QString linkTo(const QTemporaryDir &dir, const QString &name, const QString &target)
{
    const QString path = dir.filePath(name);
    return QFile::link(target, path) ? path : QString();
}

// Runs the event loop until the scan has finished; returns its outcome, or
// -1 when it did not finish in time.
int scanToEnd(ExchangeFixture &f, int limitMs)
{
    std::optional<ScanOutcome> outcome;
    auto c = QObject::connect(&f.exchange().scan, &ControllerScan::scanFinished,
                              [&outcome](ScanOutcome o) { outcome = o; });
    f.form().connectAction->trigger();
    QElapsedTimer clock;
    clock.start();
    while (!outcome && clock.elapsed() < limitMs)
        QTest::qWait(5);
    QObject::disconnect(c);
    return outcome ? int(*outcome) : -1;
}

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
private slots:
    void portsAreTriedInListOrderOneStepApart();
    void controllerOnTheFirstPortAnswersAtOnce();
    void firstAnsweringPortEndsTheScan();
    void everyModelReplyIsJudged_data();
    void everyModelReplyIsJudged();
    void noAnswerOnAnyPortShowsMessage();
    void rescanAfterConnection();
    void scanReplacesAPendingExchange();
};

void ScanTest::portsAreTriedInListOrderOneStepApart()
{
    QTemporaryDir dir;
    PtyPair silent;
    QVERIFY2(silent.isOpen(), qPrintable(silent.errorString()));
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("T6 4.2")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    // p1 stays silent, p2 cannot be opened, p3 is the controller.
    const QString p1 = linkTo(dir, QStringLiteral("p1"), silent.slavePath());
    const QString p2 = dir.filePath(QStringLiteral("p2"));
    const QString p3 = linkTo(dir, QStringLiteral("p3"), sim.devicePath());
    QVERIFY(!p1.isEmpty() && !p3.isEmpty());
    ExchangeFixture f({p3, p2, p1});
    const int step = f.intervals().scanStepMs;

    QElapsedTimer clock;
    clock.start();
    qint64 p1Asked = -1;
    QByteArray p1Bytes;
    std::optional<ScanOutcome> outcome;
    connect(&f.exchange().scan, &ControllerScan::scanFinished, [&](ScanOutcome o) { outcome = o; });
    f.form().connectAction->trigger();
    QCOMPARE(f.form().portList->itemText(0), p1);
    QCOMPARE(f.form().portList->itemText(2), p3);
    while (!outcome && clock.elapsed() < 20 * step) {
        QTest::qWait(5);
        p1Bytes += silent.drainMaster(0);
        if (p1Asked < 0 && p1Bytes == kTt)
            p1Asked = clock.elapsed();
    }
    QVERIFY(outcome == ScanOutcome::Connected);
    const qint64 accepted = clock.elapsed();
    // The first port at once, the others one step apart.
    QVERIFY2(p1Asked >= 0 && p1Asked < step / 2, qPrintable(QString::number(p1Asked)));
    // p2 cost one step: p3 was asked on the third step, after p1's.
    QVERIFY2(accepted - p1Asked >= 2 * step - 20, qPrintable(QStringLiteral("%1 %2").arg(p1Asked).arg(accepted)));
    QCOMPARE(f.form().shared.ConnectedPort, p3);
    QCOMPARE(f.form().statusPanels[1]->text(), QStringLiteral("соединен с ") + p3 + QStringLiteral("  4.2"));
    QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединен"));
    QVERIFY(!f.form().connectButton->isEnabled());
    QCOMPARE(f.boxes.texts(), QStringList({QStringLiteral("соединение установлено.")}));
    // Confirmed: the port closes one idle interval later.
    QTRY_VERIFY(!f.form().port->Connected());
    QCOMPARE(f.state(), int(ssClosed));
}

// With the real step of 1.2 s and the line's own pace: the first port is
// not made to wait for a step.
void ScanTest::controllerOnTheFirstPortAnswersAtOnce()
{
    SimProcess sim({QStringLiteral("--baud"), QStringLiteral("38400")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    TimerIntervals real;
    ExchangeFixture f({sim.devicePath()}, real);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(scanToEnd(f, 3 * real.scanStepMs), int(ScanOutcome::Connected));
    // Tens of milliseconds as a rule; the bound leaves room for a loaded
    // machine and still fails a scan that waits one step before its first
    // port.
    QVERIFY2(clock.elapsed() < real.scanStepMs / 2, qPrintable(QString::number(clock.elapsed())));
}

void ScanTest::firstAnsweringPortEndsTheScan()
{
    QTemporaryDir dir;
    SimProcess first({QStringLiteral("--model"), QStringLiteral("GSM-X")});
    QVERIFY2(first.isRunning(), qPrintable(first.errorText()));
    PtyPair later;
    QVERIFY2(later.isOpen(), qPrintable(later.errorString()));
    const QString a = linkTo(dir, QStringLiteral("a"), first.devicePath());
    const QString b = linkTo(dir, QStringLiteral("b"), later.slavePath());
    ExchangeFixture f({b, a});
    const int outcome = scanToEnd(f, 20 * f.intervals().scanStepMs);
    QCOMPARE(outcome, int(ScanOutcome::Unrecognised));
    QTest::qWait(3 * f.intervals().scanStepMs);
    QVERIFY(later.drainMaster(0).isEmpty());
    QVERIFY(!f.form().scanTimer->isActive());
    QCOMPARE(f.boxes.texts(), QStringList({QStringLiteral("Версия и тип прибора не определены\r\nсоединение НЕ установлено.")}));
    // After a refusal the idle close frees the port for the device's own
    // tool.
    QTRY_VERIFY(!f.form().port->Connected());
    QCOMPARE(f.state(), int(ssClosed));
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
}

void ScanTest::everyModelReplyIsJudged_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral("\r\nсоединение НЕ установлено.");
    QTest::newRow("On") << QStringLiteral("On") << int(ScanOutcome::Sibling)
                        << QStringLiteral("Вам нужно использовать конфигуратор \"ЗАРВЕН-А1\"") + refused;
    QTest::newRow("V3") << QStringLiteral("V3") << int(ScanOutcome::Sibling)
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А2\"") + refused;
    QTest::newRow("T3") << QStringLiteral("T3") << int(ScanOutcome::Sibling)
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А3\"") + refused;
    QTest::newRow("V5") << QStringLiteral("V5") << int(ScanOutcome::Sibling)
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А4\"") + refused;
    QTest::newRow("T5") << QStringLiteral("T5") << int(ScanOutcome::Sibling)
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А5\"") + refused;
    QTest::newRow("T5 and a blank") << QStringLiteral("T5 ") << int(ScanOutcome::Unrecognised)
                                    << QStringLiteral("Версия и тип прибора не определены") + refused;
    QTest::newRow("T6 alone") << QStringLiteral("T6") << int(ScanOutcome::Connected)
                              << QStringLiteral("соединение установлено.");
}

void ScanTest::everyModelReplyIsJudged()
{
    QFETCH(QString, model);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    // Replies come in pieces and after junk, as a real line may deliver them:
    // a byte every few milliseconds, so the step allows for a loaded machine.
    SimProcess sim({QStringLiteral("--model"), model, QStringLiteral("--chunk"), QStringLiteral("1"),
                    QStringLiteral("--junk"), QStringLiteral("00 FF 0D 0A")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    TimerIntervals intervals = fastIntervals();
    intervals.scanStepMs = 500;
    ExchangeFixture f({sim.devicePath()}, intervals);
    QCOMPARE(scanToEnd(f, 20 * f.intervals().scanStepMs), outcome);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].text, message);
    QCOMPARE(f.boxes.shown()[0].kind,
             outcome == int(ScanOutcome::Connected) ? BoxKind::Confirmation : BoxKind::Information);
    QCOMPARE(f.form().shared.ConnectedPort.isEmpty(), outcome != int(ScanOutcome::Connected));
    // Whatever the answer, the idle close ends up closing the port.
    QTRY_VERIFY(!f.form().port->Connected());
}

void ScanTest::noAnswerOnAnyPortShowsMessage()
{
    SimProcess mute({QStringLiteral("--silent"), QStringLiteral("Tt")});
    QVERIFY2(mute.isRunning(), qPrintable(mute.errorText()));
    PtyPair silent;
    QVERIFY2(silent.isOpen(), qPrintable(silent.errorString()));
    ExchangeFixture f({mute.devicePath(), silent.slavePath()});
    const int step = f.intervals().scanStepMs;
    QElapsedTimer clock;
    clock.start();
    const int outcome = scanToEnd(f, 20 * step);
    QCOMPARE(outcome, int(ScanOutcome::NoAnswer));
    // The first port at once, one step for the second and one more that
    // ends the scan.
    QVERIFY(clock.elapsed() >= 2 * step * 95 / 100);
    QCOMPARE(silent.drainMaster(0), kTt);
    QString expected = kNoAnswer;
    for (int i = 0; i < f.form().portList->count(); ++i)
        expected += QStringLiteral("\r\n") + f.form().portList->itemText(i) + QStringLiteral(": нет ответа.");
    QCOMPARE(f.boxes.texts(), QStringList({expected}));
    QVERIFY(!f.form().port->Connected());
    QVERIFY(!f.form().scanTimer->isActive());
    QCOMPARE(f.state(), int(ssIdentify));
}

void ScanTest::rescanAfterConnection()
{
    auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--model"), QStringLiteral("T6 1.0")});
    QVERIFY2(sim->isRunning(), qPrintable(sim->errorText()));
    QTemporaryDir dir;
    const QString port = linkTo(dir, QStringLiteral("controller"), sim->devicePath());
    ExchangeFixture f({port});
    const int limit = 20 * f.intervals().scanStepMs;
    QCOMPARE(scanToEnd(f, limit), int(ScanOutcome::Connected));
    // A rescan while connected finds the controller again.
    QCOMPARE(scanToEnd(f, limit), int(ScanOutcome::Connected));
    QCOMPARE(f.form().shared.ConnectedPort, port);
    QCOMPARE(f.boxes.texts().size(), 2);
    // A failed rescan leaves no claim of a connection behind.
    sim.reset();
    QCOMPARE(scanToEnd(f, limit), int(ScanOutcome::NoAnswer));
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
    QVERIFY(f.form().statusPanels[1]->text().isEmpty());
    QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединить"));
    QVERIFY(f.form().connectButton->isEnabled());
    QCOMPARE(f.boxes.texts().last(), kNoAnswer + QStringLiteral("\r\n") + port + QStringLiteral(": устройство отключено."));
}

// "Обновить" against a silent controller, then "Соединить": the scan stops
// the signal query's time-out, so the time-out cannot end the scan before it
// reaches the controller behind three silent ports.
void ScanTest::scanReplacesAPendingExchange()
{
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("T6 1.0")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    PtyPair silent[3];
    QTemporaryDir dir;
    QStringList ports;
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(silent[i].isOpen(), qPrintable(silent[i].errorString()));
        ports << linkTo(dir, QStringLiteral("p%1").arg(i), silent[i].slavePath());
    }
    ports << linkTo(dir, QStringLiteral("p3"), sim.devicePath());
    ExchangeFixture f(ports);
    QVERIFY(f.intervals().responseTimeoutMs < 4 * f.intervals().scanStepMs);
    f.form().shared.ConnectedPort = ports.first();
    f.form().signalRefreshButton->click();
    QCOMPARE(f.state(), int(ssSignalLevel));
    QVERIFY(f.form().responseTimer->isActive());
    QCOMPARE(scanToEnd(f, 20 * f.intervals().scanStepMs), int(ScanOutcome::Connected));
    QCOMPARE(f.form().shared.ConnectedPort, ports.last());
    QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("соединение установлено.")});
}

QTEST_MAIN(ScanTest)
#include "test_exchange_scan.moc"
