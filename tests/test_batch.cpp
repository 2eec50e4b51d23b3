// Batch mode end to end: the zarven4-config executable against simulated
// controllers, each on its own pseudo-terminal.

#include "sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven::test;

namespace {

struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// Runs zarven4-config with the arguments; intervals divided by divisor
// (0: the real intervals).
BatchRun runConfig(const QStringList &args, int divisor = 20,
                   QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    env.remove(QStringLiteral("ZARVEN_TIMER_DIVISOR"));
    if (divisor > 0)
        env.insert(QStringLiteral("ZARVEN_TIMER_DIVISOR"), QString::number(divisor));
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(ZARVEN_CONFIG_BINARY), args);
    BatchRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("zarven4-config did not end");
        return r;
    }
    r.elapsedMs = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QStringList lines(const QString &text)
{
    QStringList l = text.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

} // namespace

class BatchTest : public QObject {
    Q_OBJECT
private slots:
    void identifyAcceptsControllerAndPrintsStatusPanel();
    void identifyRefusesSiblingAndUnknownModels_data();
    void identifyRefusesSiblingAndUnknownModels();
    void identifyWithoutAnswerFailsAfterEveryPort();
    void identifyTakesFirstAnsweringPortInListOrder();
    void identifyRunsAtRealIntervals();
    void signalPrintsLevelAndPercentage();
    void signalFailuresExitWithOne_data();
    void signalFailuresExitWithOne();
    void usageErrorsExitWithTwo_data();
    void usageErrorsExitWithTwo();
    void helpListsTheCommands();
    void printsRussianWhateverTheWindowLastUsedUnlessAskedForEnglish();
};

void BatchTest::printsRussianWhateverTheWindowLastUsedUnlessAskedForEnglish()
{
    // The user's settings say the window last showed English.
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath(QStringLiteral("zarven4")));
    QFile conf(config.filePath(QStringLiteral("zarven4/zarven4-config.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nlanguage=E\n");
    conf.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());

    QTemporaryDir work;
    const QStringList args = {QStringLiteral("encode"), QStringLiteral("--input"), work.filePath(QStringLiteral("none.cfg")),
                              QStringLiteral("--workdir"), work.path()};
    QCOMPARE(lines(runConfig(args, 20, env).out), QStringList{QStringLiteral("Файл не найден")});
    QCOMPARE(lines(runConfig(args + QStringList{QStringLiteral("--language"), QStringLiteral("en")}, 20, env).out),
             QStringList{QStringLiteral("File not found")});
}

void BatchTest::identifyAcceptsControllerAndPrintsStatusPanel()
{
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("T6 v2.14")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out), QStringList({QStringLiteral("соединение установлено."),
                                        QStringLiteral("соединен с ") + sim.devicePath() + QStringLiteral("  v2.14")}));
    QVERIFY(r.err.isEmpty());
    // The window's log goes to the working folder as always.
    QFile log(work.filePath(QStringLiteral("log.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("T6 v2.14\r\n"));
}

void BatchTest::identifyRefusesSiblingAndUnknownModels_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("On") << QStringLiteral("On")
                        << QStringList({QStringLiteral("Вам нужно использовать конфигуратор \"ЗАРВЕН-А1\""),
                                        QStringLiteral("соединение НЕ установлено.")});
    QTest::newRow("T5") << QStringLiteral("T5")
                        << QStringList({QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А5\""),
                                        QStringLiteral("соединение НЕ установлено.")});
    QTest::newRow("T5 and a blank") << QStringLiteral("T5 ")
                                    << QStringList({QStringLiteral("Версия и тип прибора не определены"),
                                                    QStringLiteral("соединение НЕ установлено.")});
}

void BatchTest::identifyRefusesSiblingAndUnknownModels()
{
    QFETCH(QString, model);
    QFETCH(QStringList, printed);
    SimProcess sim({QStringLiteral("--model"), model});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out), printed);
}

void BatchTest::identifyWithoutAnswerFailsAfterEveryPort()
{
    SimProcess silent({QStringLiteral("--silent"), QStringLiteral("Tt")});
    QVERIFY2(silent.isRunning(), qPrintable(silent.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("identify"), QStringLiteral("--port"), silent.devicePath(),
                                  QStringLiteral("--port"), work.filePath(QStringLiteral("no-such-port")),
                                  QStringLiteral("--workdir"), work.path()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out),
             QStringList({QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство.")}));
    // Two ports, one step each, and the step that ends the scan.
    QVERIFY2(r.elapsedMs >= 3 * 1200 / 20 * 95 / 100, qPrintable(QString::number(r.elapsedMs)));
}

void BatchTest::identifyTakesFirstAnsweringPortInListOrder()
{
    QTemporaryDir work;
    // The links sort a, b, c: a cannot be opened, b refuses, c would accept.
    SimProcess refusing({QStringLiteral("--model"), QStringLiteral("V3"), QStringLiteral("--link"),
                         work.filePath(QStringLiteral("b-port"))});
    QVERIFY2(refusing.isRunning(), qPrintable(refusing.errorText()));
    SimProcess accepting({QStringLiteral("--link"), work.filePath(QStringLiteral("c-port"))});
    QVERIFY2(accepting.isRunning(), qPrintable(accepting.errorText()));
    const BatchRun r = runConfig({QStringLiteral("identify"), QStringLiteral("--port"), work.filePath(QStringLiteral("c-port")),
                                  QStringLiteral("--port"), work.filePath(QStringLiteral("a-port")),
                                  QStringLiteral("--port"), work.filePath(QStringLiteral("b-port")),
                                  QStringLiteral("--workdir"), work.path()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out), QStringList({QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А2\""),
                                        QStringLiteral("соединение НЕ установлено.")}));
}

void BatchTest::identifyRunsAtRealIntervals()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path()},
                                 0);
    QCOMPARE(r.exitCode, 0);
    // The first scan step comes 1.2 s after the start (a coarse timer may
    // fire up to 5 % early).
    QVERIFY2(r.elapsedMs >= 1140, qPrintable(QString::number(r.elapsedMs)));
}

void BatchTest::signalPrintsLevelAndPercentage()
{
    SimProcess sim({QStringLiteral("--csq"), QStringLiteral("17")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out).last(), QStringLiteral("-79 dBm 54%"));
    QCOMPARE(lines(r.out).first(), QStringLiteral("соединение установлено."));
}

void BatchTest::signalFailuresExitWithOne_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("no reply") << QStringList({QStringLiteral("--silent"), QStringLiteral("Sg")})
                              << QStringLiteral("НЕТ ответа о уровне сигнала.");
    QTest::newRow("99") << QStringList({QStringLiteral("--csq-reply"), QStringLiteral("+CSQ: 99,99")})
                        << QStringLiteral("нет связи 0%");
    QTest::newRow("no number") << QStringList({QStringLiteral("--csq-reply"), QStringLiteral("+CSQ: ,0")})
                               << QStringLiteral("нет сигнала 0%");
    QTest::newRow("no report") << QStringList({QStringLiteral("--wrong"), QStringLiteral("Sg=text:ERROR")})
                               << QStringLiteral("соединение установлено.");
    QTest::newRow("controller refused") << QStringList({QStringLiteral("--model"), QStringLiteral("On")})
                                        << QStringLiteral("соединение НЕ установлено.");
}

void BatchTest::signalFailuresExitWithOne()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, lastLine);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), work.path()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out).last(), lastLine);
}

void BatchTest::usageErrorsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no port") << QStringList({QStringLiteral("identify")});
    QTest::newRow("unknown command") << QStringList({QStringLiteral("reset"), QStringLiteral("--port"), QStringLiteral("/dev/null")});
    QTest::newRow("unknown option") << QStringList({QStringLiteral("signal"), QStringLiteral("--port"),
                                                    QStringLiteral("/dev/null"), QStringLiteral("--output"), QStringLiteral("x")});
    QTest::newRow("missing folder") << QStringList({QStringLiteral("identify"), QStringLiteral("--port"), QStringLiteral("/dev/null"),
                                                    QStringLiteral("--workdir"), QStringLiteral("/nonexistent/zarven")});
    QTest::newRow("port without device") << QStringList({QStringLiteral("identify"), QStringLiteral("--port")});
}

void BatchTest::usageErrorsExitWithTwo()
{
    QFETCH(QStringList, args);
    const BatchRun r = runConfig(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.startsWith(QStringLiteral("zarven4-config: ")));
}

void BatchTest::helpListsTheCommands()
{
    const BatchRun r = runConfig({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("\n  identify ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  signal ")));
    QVERIFY(r.out.contains(QStringLiteral("ZARVEN_TIMER_DIVISOR")));
}

QTEST_GUILESS_MAIN(BatchTest)
#include "test_batch.moc"
