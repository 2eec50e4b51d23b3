// The signal level: reading the "+CSQ:" report, the gauge and label
// conversions and colours, and what of the first read reaches the framer.

#include "exchange_fixture.h"
#include "exchange/signal_reading.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

QColor labelColour(const MainWindow &form)
{
    return form.signalLabel->palette().color(QPalette::WindowText);
}

QColor windowText()
{
    return QApplication::palette().color(QPalette::WindowText);
}

} // namespace

class SignalLevelTest : public QObject {
    Q_OBJECT
private slots:
    void gaugeIsLevelTimesThreePointTwoTwoTruncated();
    void replyIsShownOnGaugeAndLabel_data();
    void replyIsShownOnGaugeAndLabel();
    void replyWithoutReportShowsNothingButEndsExchange();
    void failureTurnsLabelRedAndNextQueryResetsIt();
    void queryWithoutConnectionChangesNoReading();
    void firstReadKeepsOnlyFramedBytes_data();
    void firstReadKeepsOnlyFramedBytes();
};

void SignalLevelTest::gaugeIsLevelTimesThreePointTwoTwoTruncated()
{
    const int expected[32] = {0,  3,  6,  9,  12, 16, 19, 22, 25, 28, 32, 35, 38, 41, 45, 48,
                              51, 54, 57, 61, 64, 67, 70, 74, 77, 80, 83, 86, 90, 93, 96, 99};
    for (int n = 0; n < 32; ++n)
        QCOMPARE(signalGaugePercent(n), expected[n]);
    QCOMPARE(signalGaugePercent(45), 100);
    QCOMPARE(signalGaugePercent(999999), 100);
    QCOMPARE(signalLabelText(0), QStringLiteral("-113 dBm"));
    QCOMPARE(signalLabelText(17), QStringLiteral("-79 dBm"));
    QCOMPARE(signalLabelText(31), QStringLiteral("-51 dBm"));
    QCOMPARE(signalLabelText(45), QStringLiteral("-23 dBm"));
}

void SignalLevelTest::replyIsShownOnGaugeAndLabel_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("gauge");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("red");
    QTest::newRow("17") << QByteArray("+CSQ: 17,0") << 54 << QStringLiteral("-79 dBm") << false;
    QTest::newRow("31") << QByteArray("+CSQ: 31,0") << 99 << QStringLiteral("-51 dBm") << false;
    QTest::newRow("25") << QByteArray("+CSQ: 25,0") << 80 << QStringLiteral("-63 dBm") << false;
    QTest::newRow("20") << QByteArray("+CSQ: 20,0") << 64 << QStringLiteral("-73 dBm") << false;
    QTest::newRow("45 clamped") << QByteArray("+CSQ: 45,0") << 100 << QStringLiteral("-23 dBm") << false;
    // One-digit levels are levels like the others.
    QTest::newRow("5") << QByteArray("+CSQ: 5,0") << 16 << QStringLiteral("-103 dBm") << false;
    QTest::newRow("0") << QByteArray("+CSQ: 0,0") << 0 << QStringLiteral("-113 dBm") << false;
    // The level follows the marker wherever the marker stands.
    QTest::newRow("text before") << QByteArray("OK +CSQ: 17") << 54 << QStringLiteral("-79 dBm") << false;
    QTest::newRow("no blank") << QByteArray("+CSQ:9,99") << 28 << QStringLiteral("-95 dBm") << false;
    QTest::newRow("line end") << QByteArray("+CSQ: 17\r\n") << 54 << QStringLiteral("-79 dBm") << false;
    // The level is the run of digits; whatever follows it does not matter.
    QTest::newRow("no comma, OK after") << QByteArray("+CSQ: 17\r\nOK") << 54 << QStringLiteral("-79 dBm") << false;
    QTest::newRow("zero byte after") << QByteArray("+CSQ: 1\0,0", 10) << 3 << QStringLiteral("-111 dBm") << false;
    QTest::newRow("99 and text") << QByteArray("+CSQ: 99 x") << 0 << QStringLiteral("нет связи") << true;
    QTest::newRow("99") << QByteArray("+CSQ: 99,99") << 0 << QStringLiteral("нет связи") << true;
    QTest::newRow("nothing after") << QByteArray("+CSQ:") << 0 << QStringLiteral("нет сигнала") << true;
    QTest::newRow("blanks only") << QByteArray("+CSQ:   ,0") << 0 << QStringLiteral("нет сигнала") << true;
    QTest::newRow("not decimal") << QByteArray("+CSQ: x1,0") << 0 << QStringLiteral("нет сигнала") << true;
    QTest::newRow("signed") << QByteArray("+CSQ: -5,0") << 0 << QStringLiteral("нет сигнала") << true;
}

void SignalLevelTest::replyIsShownOnGaugeAndLabel()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, gauge);
    QFETCH(QString, label);
    QFETCH(bool, red);
    ExchangeFixture f;
    f.form().signalGauge->setValue(42);
    f.form().idleCloseTimer->stop();
    f.form().responseTimer->start();
    f.core().setState(ssSignalLevel);
    QSignalSpy finished(&f.exchange().signalLevel, &SignalLevelQuery::queryFinished);
    f.deliver(reply);
    QCOMPARE(f.form().signalGauge->value(), gauge);
    QCOMPARE(f.form().signalLabel->text(), label);
    QCOMPARE(labelColour(f.form()), red ? QColor(255, 0, 0) : windowText());
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());
    QVERIFY(f.boxes.shown().isEmpty());
    QCOMPARE(finished.size(), 1);
}

void SignalLevelTest::replyWithoutReportShowsNothingButEndsExchange()
{
    ExchangeFixture f;
    f.form().signalGauge->setValue(54);
    f.form().signalLabel->setText(QStringLiteral("-79 dBm"));
    f.form().idleCloseTimer->stop();
    f.form().responseTimer->start();
    f.core().setState(ssSignalLevel);
    f.deliver("+CSQ 17,0");
    QCOMPARE(f.form().signalGauge->value(), 54);
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("-79 dBm"));
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().idleCloseTimer->isActive());
}

void SignalLevelTest::failureTurnsLabelRedAndNextQueryResetsIt()
{
    ExchangeFixture f;
    f.core().setState(ssSignalLevel);
    f.deliver("+CSQ: 99,99");
    QCOMPARE(labelColour(f.form()), QColor(255, 0, 0));
    // A good reading after a failure keeps the colour it finds...
    f.core().setState(ssSignalLevel);
    f.deliver("+CSQ: 20,0");
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("-73 dBm"));
    QCOMPARE(labelColour(f.form()), QColor(255, 0, 0));
    // ...the next query is what turns it back, as the user clicks it.
    QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
    QCOMPARE(labelColour(f.form()), windowText());
}

void SignalLevelTest::queryWithoutConnectionChangesNoReading()
{
    ExchangeFixture f;
    f.form().signalGauge->setValue(54);
    f.form().signalLabel->setText(QStringLiteral("-79 dBm"));
    f.form().responseTimer->start();
    QSignalSpy finished(&f.exchange().signalLevel, &SignalLevelQuery::queryFinished);
    QTest::mouseClick(f.form().signalRefreshButton, Qt::LeftButton);
    QCOMPARE(f.boxes.shown().size(), 1);
    QCOMPARE(f.boxes.shown()[0].kind, BoxKind::Plain);
    QCOMPARE(f.boxes.shown()[0].text, QStringLiteral("Нет соединения с устройством. Проверьте подключение") + QStringLiteral("\r\nНажмите «Соединить», чтобы найти прибор."));
    QCOMPARE(f.form().signalGauge->value(), 54);
    QCOMPARE(f.form().signalLabel->text(), QStringLiteral("-79 dBm"));
    QCOMPARE(f.state(), int(ssClosed));
    QVERIFY(!f.form().responseTimer->isActive());
    QVERIFY(f.form().eventLog.lines().isEmpty());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].value<SignalOutcome>(), SignalOutcome::NoConnection);
}

void SignalLevelTest::firstReadKeepsOnlyFramedBytes_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("kept");
    const QByteArray reply("\xFE\xFF+CSQ: 17,0\xFF\xFE", 14);
    QTest::newRow("whole reply") << reply << reply;
    QTest::newRow("junk in front") << QByteArray("OK\r\n") + reply << reply;
    QTest::newRow("first part") << QByteArray("ab") + reply.left(7) << reply.left(7);
    QTest::newRow("only junk") << QByteArray("+CSQ: 17,0\r\n") << QByteArray();
    QTest::newRow("stop marker only") << QByteArray("x\xFF\xFEy", 4) << QByteArray();
    // A trailing FE may be the first half of a start marker.
    QTest::newRow("stop marker last") << QByteArray("x\xFF\xFE", 3) << QByteArray("\xFE", 1);
    QTest::newRow("split start marker") << QByteArray("junk\xFE", 5) << QByteArray("\xFE", 1);
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void SignalLevelTest::firstReadKeepsOnlyFramedBytes()
{
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, kept);
    QCOMPARE(SignalLevelQuery::framedPart(read, QByteArray("\xFE\xFF", 2)), kept);
}

QTEST_MAIN(SignalLevelTest)
#include "test_exchange_signal.moc"
