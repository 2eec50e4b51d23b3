// signal --watch end to end: the zarven4-config executable against the
// simulator, ended by its count, by Ctrl-C, or by a first reading that fails.

#include "batch_run.h"
#include "sim_process.h"

#include "core/cp1251.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace zarven;
using namespace zarven::test;

namespace {

const QRegularExpression kReadingLine(QStringLiteral(
    "^\\d\\d:\\d\\d:\\d\\d  (CSQ (\\d+)  -\\d+ dBm  \\d+%  (плохо|удовлетворительно|хорошо|отлично)|CSQ 99  нет связи)$"));
const QRegularExpression kSummaryLine(
    QStringLiteral("^мин -\\d+ dBm  сред -\\d+\\.\\d dBm  макс -\\d+ dBm  измерений (\\d+)  сбоев (\\d+)$"));

} // namespace

class BatchSignalWatchTest : public QObject {
    Q_OBJECT
private slots:
    void countEndsItWithTheSummary();
    void firstFailedReadingExitsWithOne_data();
    void firstFailedReadingExitsWithOne();
    void ctrlCEndsItWithTheSummary();
};

void BatchSignalWatchTest::countEndsItWithTheSummary()
{
    SimProcess sim({QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("11")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QString csvPath = work.filePath(QStringLiteral("walk.csv"));
    const BatchRun r = runConfig({QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path(), QStringLiteral("--watch"),
                                  QStringLiteral("--interval"), QStringLiteral("1"), QStringLiteral("--count"),
                                  QStringLiteral("5"), QStringLiteral("--csv"), csvPath},
                                 50);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    const QStringList out = lines(r.out);
    QCOMPARE(out.size(), 7);
    QCOMPARE(out.first(), QStringLiteral("соединение установлено."));
    for (int i = 1; i <= 5; ++i)
        QVERIFY2(kReadingLine.match(out[i]).hasMatch(), qPrintable(out[i]));
    const auto summary = kSummaryLine.match(out.last());
    QVERIFY2(summary.hasMatch(), qPrintable(out.last()));
    QCOMPARE(summary.captured(1), QStringLiteral("5"));
    // Each printed reading is a row of the file, in code page 1251.
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().split('\n');
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows[0], QByteArray("time;CSQ;dBm;band\r"));
    for (int i = 1; i <= 5; ++i) {
        const QString band = kReadingLine.match(out[i]).captured(3);
        const QString csq = kReadingLine.match(out[i]).captured(2);
        QVERIFY2(rows[i].endsWith(toCp1251(band.isEmpty() ? QStringLiteral(";99;;нет связи\r")
                                                          : QStringLiteral(";%1;%2;%3\r").arg(csq).arg(2 * csq.toInt() - 113).arg(band))),
                 rows[i].constData());
    }
}

void BatchSignalWatchTest::firstFailedReadingExitsWithOne_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("no reply") << QStringList({QStringLiteral("--silent"), QStringLiteral("Sg")})
                              << QStringLiteral("нет ответа");
    QTest::newRow("no service") << QStringList({QStringLiteral("--csq"), QStringLiteral("99")})
                                << QStringLiteral("CSQ 99  нет связи");
}

void BatchSignalWatchTest::firstFailedReadingExitsWithOne()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, lastLine);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path(), QStringLiteral("--watch")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(lines(r.out).last().endsWith(QStringLiteral("  ") + lastLine), qPrintable(r.out));
    QVERIFY(!r.out.contains(QStringLiteral("мин ")));
}

void BatchSignalWatchTest::ctrlCEndsItWithTheSummary()
{
    SimProcess sim({QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("5")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZARVEN_TIMER_DIVISOR"), QStringLiteral("50"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZARVEN_CONFIG_BINARY),
            {QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--workdir"),
             work.path(), QStringLiteral("--watch")});
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += p.readAllStandardOutput()).count('\n') >= 4, 20000);
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(10000));
    out += p.readAllStandardOutput();
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    const QStringList got = lines(QString::fromUtf8(out));
    const auto summary = kSummaryLine.match(got.last());
    QVERIFY2(summary.hasMatch(), qPrintable(got.last()));
    // Every reading printed before Ctrl-C is counted.
    QCOMPARE(summary.captured(1).toInt(), got.size() - 2);
}

QTEST_MAIN(BatchSignalWatchTest)
#include "test_batch_signal_watch.moc"
