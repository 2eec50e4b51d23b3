// How the serial port hands received data to its receiver: never while the
// receiver runs, safely when the receiver closes or reopens the line, and
// without letting the receiver's errors into the event loop.

#include "serial_test_util.h"

#include <QtTest>

#include <stdexcept>

using namespace zarven;
using namespace zarven::test;

class ComPortHandOverTest : public QObject {
    Q_OBJECT

private slots:
    // A Qt warning (an invalid socket notifier, say) is a fault here.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

    void noHandOverWhileReceiverRunsNestedLoop();
    void closingFromInsideHandOverDoesNotBlockAndStopsDelivery();
    void idleCloseInsideModalLoopOfReceiverThenReopenDeliversOnce();
    void reopeningUnderAnotherNameInsideHandOverServesNewLineAfterwards();
    void receiverErrorIsReportedOnceAndStopsReceptionUntilReopen_data();
    void receiverErrorIsReportedOnceAndStopsReceptionUntilReopen();
};

void ComPortHandOverTest::noHandOverWhileReceiverRunsNestedLoop()
{
    OPEN_PAIR(pair);
    Received got;
    int depth = 0;
    int maxDepth = 0;
    QList<bool> duringFirst;
    SerialPort port;
    port.setReceiver([&](const QByteArray &c) {
        duringFirst.append(depth > 0);
        got.chunks.append(c);
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (got.chunks.size() == 1) {
            // A packet handler showing a modal box; the controller goes on
            // sending meanwhile.
            QTimer::singleShot(20, [&] { pair.writeMaster("B"); });
            QTimer::singleShot(60, [&] { pair.writeMaster("C"); });
            const double cpu = runNestedLoop(300);
            QVERIFY2(cpu < kIdleCpuSeconds, qPrintable(QString::number(cpu)));
            QVERIFY(port.inHandOver());
            QCOMPARE(got.chunks.size(), 1);
            QCOMPARE(pair.slaveQueued(), 2); // waiting in the driver
        }
        --depth;
    });
    port.setPort(pair.slavePath());
    port.OpenPort();

    QVERIFY(pair.writeMaster("A"));
    QTRY_COMPARE(got.all(), QByteArray("ABC"));
    QCOMPARE(maxDepth, 1);
    QVERIFY(!duringFirst.contains(true));
    QVERIFY(!port.inHandOver());
}

void ComPortHandOverTest::closingFromInsideHandOverDoesNotBlockAndStopsDelivery()
{
    OPEN_PAIR(pair);
    Received got;
    qint64 closeMs = -1;
    SerialPort port;
    port.setReceiver([&](const QByteArray &c) {
        got.chunks.append(c);
        QElapsedTimer clock;
        clock.start();
        port.ClosePort();
        closeMs = clock.elapsed();
        QVERIFY(!port.Connected());
    });
    port.setPort(pair.slavePath());
    port.OpenPort();

    QVERIFY(pair.writeMaster("reply"));
    QTRY_COMPARE(got.chunks.size(), 1);
    QVERIFY2(closeMs >= 0 && closeMs < 100, qPrintable(QString::number(closeMs)));
    QVERIFY(pair.writeMaster("after the close"));
    QTest::qWait(150);
    QCOMPARE(got.all(), QByteArray("reply"));
    QVERIFY(!port.Connected());
}

void ComPortHandOverTest::idleCloseInsideModalLoopOfReceiverThenReopenDeliversOnce()
{
    OPEN_PAIR(pair);
    Received got;
    SerialPort port;
    port.setReceiver([&](const QByteArray &c) {
        got.chunks.append(c);
        if (got.chunks.size() == 1) {
            // The handler's modal box is open; the idle close timer fires in
            // its event loop and closes the port under the hand-over.
            QTimer::singleShot(20, &port, [&] { port.ClosePort(); });
            QTimer::singleShot(50, [&] { pair.writeMaster("lost"); });
            const double cpu = runNestedLoop(300);
            QVERIFY2(cpu < kIdleCpuSeconds, qPrintable(QString::number(cpu)));
        }
    });
    port.setPort(pair.slavePath());
    port.OpenPort();

    QVERIFY(pair.writeMaster("first"));
    QTRY_COMPARE(got.chunks.size(), 1);
    QTRY_VERIFY(!port.inHandOver());
    QVERIFY(!port.Connected());
    QTest::qWait(100);
    QCOMPARE(got.chunks.size(), 1);

    // A new exchange opens the line again: it gets only new data, once.
    port.OpenPort();
    port.PurgePort(true, true);
    QVERIFY(pair.writeMaster("second"));
    QTRY_COMPARE(got.all(), QByteArray("firstsecond"));
    QTest::qWait(100);
    QCOMPARE(got.all(), QByteArray("firstsecond"));
}

void ComPortHandOverTest::reopeningUnderAnotherNameInsideHandOverServesNewLineAfterwards()
{
    OPEN_PAIR(first);
    OPEN_PAIR(second);
    Received got;
    bool insideFirst = false;
    bool newLineServedInside = false;
    SerialPort port;
    port.setReceiver([&](const QByteArray &c) {
        newLineServedInside = newLineServedInside || insideFirst;
        got.chunks.append(c);
        if (c == "from first") {
            insideFirst = true;
            port.setPort(second.slavePath()); // the scan moves on to the next port
            QVERIFY(port.Connected());
            QVERIFY(second.writeMaster("from second"));
            QVERIFY(first.writeMaster("stale"));
            const double cpu = runNestedLoop(300);
            QVERIFY2(cpu < kIdleCpuSeconds, qPrintable(QString::number(cpu)));
            insideFirst = false;
        }
    });
    port.setPort(first.slavePath());
    port.OpenPort();

    QVERIFY(first.writeMaster("from first"));
    QTRY_COMPARE(got.chunks.size(), 2);
    QCOMPARE(got.chunks.at(1), QByteArray("from second"));
    QTest::qWait(100);
    QCOMPARE(got.chunks.size(), 2);
    QVERIFY(!newLineServedInside);
    QVERIFY(port.Connected());
}

void ComPortHandOverTest::receiverErrorIsReportedOnceAndStopsReceptionUntilReopen_data()
{
    QTest::addColumn<bool>("appError");
    QTest::newRow("program error") << true;
    QTest::newRow("library exception") << false;
}

void ComPortHandOverTest::receiverErrorIsReportedOnceAndStopsReceptionUntilReopen()
{
    QFETCH(bool, appError);
    OPEN_PAIR(pair);
    Received got;
    QStringList order;
    QStringList reports;
    SerialPort port;
    port.setReceiver([&](const QByteArray &c) {
        got.chunks.append(c);
        if (got.chunks.size() == 1) {
            QTimer::singleShot(0, [&] { order << QStringLiteral("after hand-over"); });
            if (appError)
                throw AppError(QStringLiteral("'x' is not a valid integer value"));
            throw std::runtime_error("bad reply");
        }
    });
    port.setErrorReporter([&](const QString &message) {
        order << QStringLiteral("report");
        reports << message;
    });
    port.setPort(pair.slavePath());
    port.OpenPort();

    QVERIFY(pair.writeMaster("one"));
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(), appError ? QStringLiteral("'x' is not a valid integer value") : QStringLiteral("bad reply"));
    // Shown only after the hand-over has unwound, not from inside it.
    QCOMPARE(order, QStringList({QStringLiteral("after hand-over"), QStringLiteral("report")}));

    QVERIFY(pair.writeMaster("two"));
    QTest::qWait(150);
    QCOMPARE(got.chunks.size(), 1);
    QCOMPARE(reports.size(), 1);
    QVERIFY(port.Connected()); // open, but deaf until reopened

    port.ClosePort();
    port.OpenPort();
    QVERIFY(pair.writeMaster("three"));
    QTRY_COMPARE(got.chunks.size(), 2);
    QCOMPARE(got.chunks.at(1), QByteArray("three"));
    QCOMPARE(reports.size(), 1);
}

QTEST_GUILESS_MAIN(ComPortHandOverTest)
#include "test_comport_handover.moc"
