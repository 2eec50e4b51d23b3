// The identification reply and the start of a scan: sibling refusals, the
// unrecognised device, the acceptance of "T6" and the connected look.

#include "core/cp1251.h"
#include "exchange_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QString kUnrecognised = QStringLiteral("Версия и тип прибора не определены\r\nсоединение НЕ установлено.");

// A port the scan lists but cannot open: its step, taken at once, costs the
// scan one port and leaves it waiting for the next step.
const QStringList kAbsentPort = {QStringLiteral("/dev/zarven-test-absent")};

// A window whose scan has started and whose identification step is waiting.
void startIdentifying(ExchangeFixture &f)
{
    f.exchange().scan.startScan();
    f.form().idleCloseTimer->stop();
}

} // namespace

class IdentifyTest : public QObject {
    Q_OBJECT
private slots:
    void refusedRepliesShowInformationAndEndTheExchange_data();
    void refusedRepliesShowInformationAndEndTheExchange();
    void t6IsAcceptedWithItsVersionText_data();
    void t6IsAcceptedWithItsVersionText();
    void acceptanceClosedWithoutYesStillConnects();
    void rescanClearsConnectedLook();
    void scanOverEmptyListEndsWithNoAnswerMessage();
    void noAnswerMessageFollowsTheLanguage();
};

void IdentifyTest::refusedRepliesShowInformationAndEndTheExchange_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("message");
    QTest::newRow("On") << QByteArray("On")
                        << QStringLiteral("Вам нужно использовать конфигуратор \"ЗАРВЕН-А1\"\r\nсоединение НЕ установлено.");
    QTest::newRow("V3") << QByteArray("V3")
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А2\"\r\nсоединение НЕ установлено.");
    QTest::newRow("T3") << QByteArray("T3")
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А3\"\r\nсоединение НЕ установлено.");
    QTest::newRow("V5") << QByteArray("V5")
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А4\"\r\nсоединение НЕ установлено.");
    QTest::newRow("T5") << QByteArray("T5")
                        << QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А5\"\r\nсоединение НЕ установлено.");
    // Sibling replies are compared whole.
    QTest::newRow("T5 and a blank") << QByteArray("T5 ") << kUnrecognised;
    QTest::newRow("On and more") << QByteArray("On1") << kUnrecognised;
    QTest::newRow("lower case") << QByteArray("t6 1.0") << kUnrecognised;
    QTest::newRow("T6 not first") << QByteArray(" T6") << kUnrecognised;
    QTest::newRow("one byte") << QByteArray("T") << kUnrecognised;
    QTest::newRow("empty") << QByteArray() << kUnrecognised;
}

void IdentifyTest::refusedRepliesShowInformationAndEndTheExchange()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, message);
    ExchangeFixture f(kAbsentPort);
    startIdentifying(f);
    QSignalSpy finished(&f.exchange().scan, &ControllerScan::scanFinished);
    bool scanTimerStoppedBeforeBox = false;
    f.boxes.setWhileOpen(
        [&](const ScriptedMessageBoxes::Shown &) { scanTimerStoppedBeforeBox = !f.form().scanTimer->isActive(); });
    f.deliver(reply);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Information);
    QCOMPARE(f.boxes.shown()[0].text, message);
    QVERIFY(scanTimerStoppedBeforeBox);
    // The exchange is over, so the idle close will free the port.
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(f.form().idleCloseTimer->isActive());
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
    QVERIFY(f.form().statusPanels[1]->text().isEmpty());
    QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединить"));
    QVERIFY(f.form().connectButton->isEnabled());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].value<ScanOutcome>(),
             message == kUnrecognised ? ScanOutcome::Unrecognised : ScanOutcome::Sibling);
}

void IdentifyTest::t6IsAcceptedWithItsVersionText_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("panel");
    QTest::newRow("T6 alone") << QByteArray("T6") << QStringLiteral("соединен с COM7 ");
    QTest::newRow("T6 1.5") << QByteArray("T6 1.5") << QStringLiteral("соединен с COM7  1.5");
    QTest::newRow("T61.5") << QByteArray("T61.5") << QStringLiteral("соединен с COM7 1.5");
    QTest::newRow("Cyrillic version") << toCp1251(QStringLiteral("T6в2.1")) << QStringLiteral("соединен с COM7 в2.1");
}

void IdentifyTest::t6IsAcceptedWithItsVersionText()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, panel);
    ExchangeFixture f(kAbsentPort);
    startIdentifying(f);
    f.form().port->setPort(QStringLiteral("COM7"));
    f.deliver(reply);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Confirmation);
    QCOMPARE(f.boxes.shown()[0].text, QStringLiteral("соединение установлено."));
    QCOMPARE(f.form().shared.ConnectedPort, QStringLiteral("COM7"));
    QCOMPARE(f.form().statusPanels[1]->text(), panel);
    QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединен"));
    QVERIFY(!f.form().connectButton->isEnabled());
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().scanTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());
}

void IdentifyTest::acceptanceClosedWithoutYesStillConnects()
{
    ExchangeFixture f(kAbsentPort);
    startIdentifying(f);
    f.form().port->setPort(QStringLiteral("COM3"));
    f.boxes.queueAnswers({false});
    f.deliver("T6");
    QCOMPARE(f.form().shared.ConnectedPort, QStringLiteral("COM3"));
    QCOMPARE(f.form().statusPanels[1]->text(), QStringLiteral("соединен с COM3 "));
    QVERIFY(!f.form().connectButton->isEnabled());
    QCOMPARE(f.state(), int(ssIdentify));
    QVERIFY(!f.form().idleCloseTimer->isActive());
}

void IdentifyTest::rescanClearsConnectedLook()
{
    ExchangeFixture f({QStringLiteral("/dev/zarven-test-b"), QStringLiteral("/dev/zarven-test-A")});
    startIdentifying(f);
    f.deliver("T6 2.0");
    QVERIFY(!f.form().connectButton->isEnabled());
    f.form().responseTimer->start();

    // The button is disabled now; the menu item starts the rescan.
    f.form().connectAction->trigger();
    QVERIFY(f.form().shared.ConnectedPort.isEmpty());
    QCOMPARE(f.form().statusPanels[1]->text(), QStringLiteral("Поиск: /dev/zarven-test-A (1 из 2)"));
    QCOMPARE(f.form().connectButton->text(), QStringLiteral("Соединить"));
    QVERIFY(f.form().connectButton->isEnabled());
    QCOMPARE(f.state(), int(ssIdentify));
    QVERIFY(f.form().scanTimer->isActive());
    // The scan replaces the earlier exchange and its time-out.
    QVERIFY(!f.form().responseTimer->isActive());
    // The port list is read anew.
    QCOMPARE(f.form().portList->count(), 2);
    QCOMPARE(f.exchange().scan.ScanLast, 1);
    // The first port is tried at once.
    QCOMPARE(f.exchange().scan.ScanIndex, 1);
}

void IdentifyTest::scanOverEmptyListEndsWithNoAnswerMessage()
{
    ExchangeFixture f;
    QSignalSpy finished(&f.exchange().scan, &ControllerScan::scanFinished);
    QTest::mouseClick(f.form().connectButton, Qt::LeftButton);
    QCOMPARE(f.exchange().scan.ScanLast, -1);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].value<ScanOutcome>(), ScanOutcome::NoAnswer);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Plain);
    QCOMPARE(f.boxes.shown()[0].text,
             QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство.\r\n"
                            "Последовательные порты не найдены. Подключите USB-адаптер прибора."));
    QVERIFY(!f.form().scanTimer->isActive());
    QCOMPARE(f.state(), int(ssIdentify));
}

void IdentifyTest::noAnswerMessageFollowsTheLanguage()
{
    ExchangeFixture f;
    f.form().englishAction->trigger();
    QCOMPARE(f.form().shared.LanguageCode, QLatin1Char('E'));
    f.boxes.clear();
    QSignalSpy finished(&f.exchange().scan, &ControllerScan::scanFinished);
    f.form().connectAction->trigger();
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(f.boxes.texts(), QStringList({QStringLiteral("Communication error (no answer). Check that the device "
                                                          "is connected.\r\nNo serial port found. Plug in the "
                                                          "controller's USB adapter.")}));
    // The identification messages are follow the language too, line by line.
    f.exchange().scan.startScan();
    f.deliver("V3");
    QCOMPARE(f.boxes.texts().last(), QStringLiteral("Use the \"ZARVEN-A2\" configurator\r\nconnection NOT established."));
}

QTEST_MAIN(IdentifyTest)
#include "test_exchange_identify.moc"
