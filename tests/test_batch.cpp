// Batch mode end to end: the zarven4-config executable against simulated
// controllers, each on its own pseudo-terminal.

#include "batch_run.h"
#include "file_bytes.h"
#include "sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven::test;

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
    void readKeysThenWriteKeysRoundTrip();
    void keyCommandFailures_data();
    void keyCommandFailures();
    void settingsCommandsExitStatuses_data();
    void settingsCommandsExitStatuses();
    void writeNowThenReadGivesTheFileBack();
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
    SimProcess sim({ QStringLiteral("--model"), QStringLiteral("T6 v2.14") });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({ QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
        QStringLiteral("--workdir"), work.path() });
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out),
        QStringList({ QStringLiteral("соединение установлено."),
            QStringLiteral("соединен с ") + sim.devicePath() + QStringLiteral("  v2.14") }));
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
                        << QStringList({ QStringLiteral("Вам нужно использовать конфигуратор \"ЗАРВЕН-А1\""),
                               QStringLiteral("соединение НЕ установлено.") });
    QTest::newRow("T5") << QStringLiteral("T5")
                        << QStringList({ QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А5\""),
                               QStringLiteral("соединение НЕ установлено.") });
    QTest::newRow("T5 and a blank") << QStringLiteral("T5 ")
                                    << QStringList({ QStringLiteral("Версия и тип прибора не определены"),
                                           QStringLiteral("соединение НЕ установлено.") });
}

void BatchTest::identifyRefusesSiblingAndUnknownModels()
{
    QFETCH(QString, model);
    QFETCH(QStringList, printed);
    SimProcess sim({ QStringLiteral("--model"), model });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({ QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
        QStringLiteral("--workdir"), work.path() });
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out), printed);
}

void BatchTest::identifyWithoutAnswerFailsAfterEveryPort()
{
    SimProcess silent({ QStringLiteral("--silent"), QStringLiteral("Tt") });
    QVERIFY2(silent.isRunning(), qPrintable(silent.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig(
        { QStringLiteral("identify"), QStringLiteral("--port"), silent.devicePath(), QStringLiteral("--port"),
            work.filePath(QStringLiteral("no-such-port")), QStringLiteral("--workdir"), work.path() });
    QCOMPARE(r.exitCode, 1);
    // The message, then why each port gave nothing, in the port list's order.
    QCOMPARE(lines(r.out),
             QStringList({QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство."),
                          silent.devicePath() + QStringLiteral(": нет ответа."),
                          work.filePath(QStringLiteral("no-such-port")) + QStringLiteral(": устройство отключено.")}));
    // Two ports, one step each, and the step that ends the scan.
    QVERIFY2(r.elapsedMs >= 3 * 1200 / 20 * 95 / 100, qPrintable(QString::number(r.elapsedMs)));
}

void BatchTest::identifyTakesFirstAnsweringPortInListOrder()
{
    QTemporaryDir work;
    // The links sort a, b, c: a cannot be opened, b refuses, c would accept.
    SimProcess refusing({ QStringLiteral("--model"), QStringLiteral("V3"), QStringLiteral("--link"),
        work.filePath(QStringLiteral("b-port")) });
    QVERIFY2(refusing.isRunning(), qPrintable(refusing.errorText()));
    SimProcess accepting({ QStringLiteral("--link"), work.filePath(QStringLiteral("c-port")) });
    QVERIFY2(accepting.isRunning(), qPrintable(accepting.errorText()));
    const BatchRun r = runConfig({ QStringLiteral("identify"), QStringLiteral("--port"),
        work.filePath(QStringLiteral("c-port")), QStringLiteral("--port"), work.filePath(QStringLiteral("a-port")),
        QStringLiteral("--port"), work.filePath(QStringLiteral("b-port")), QStringLiteral("--workdir"), work.path() });
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out),
        QStringList({ QStringLiteral("Используйте конфигуратор \"ЗАРВЕН-А2\""),
            QStringLiteral("соединение НЕ установлено.") }));
}

void BatchTest::identifyRunsAtRealIntervals()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({ QStringLiteral("identify"), QStringLiteral("--port"), sim.devicePath(),
                                     QStringLiteral("--workdir"), work.path() },
        0);
    QCOMPARE(r.exitCode, 0);
    // The first port is asked at once, not one 1.2 s step after the start
    // (the bound leaves room for the process start on a loaded machine).
    QVERIFY2(r.elapsedMs < 1000, qPrintable(QString::number(r.elapsedMs)));
}

void BatchTest::signalPrintsLevelAndPercentage()
{
    SimProcess sim({ QStringLiteral("--csq"), QStringLiteral("17") });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({ QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
        QStringLiteral("--workdir"), work.path() });
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out).last(), QStringLiteral("-79 dBm 54%"));
    QCOMPARE(lines(r.out).first(), QStringLiteral("соединение установлено."));
}

void BatchTest::signalFailuresExitWithOne_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("no reply") << QStringList({ QStringLiteral("--silent"), QStringLiteral("Sg") })
                              << QStringLiteral("НЕТ ответа о уровне сигнала.");
    QTest::newRow("99") << QStringList({ QStringLiteral("--csq-reply"), QStringLiteral("+CSQ: 99,99") })
                        << QStringLiteral("нет связи 0%");
    QTest::newRow("no number") << QStringList({ QStringLiteral("--csq-reply"), QStringLiteral("+CSQ: ,0") })
                               << QStringLiteral("нет сигнала 0%");
    QTest::newRow("no report") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("Sg=text:ERROR") })
                               << QStringLiteral("соединение установлено.");
    QTest::newRow("controller refused") << QStringList({ QStringLiteral("--model"), QStringLiteral("On") })
                                        << QStringLiteral("соединение НЕ установлено.");
}

void BatchTest::signalFailuresExitWithOne()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, lastLine);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const BatchRun r = runConfig({ QStringLiteral("signal"), QStringLiteral("--port"), sim.devicePath(),
        QStringLiteral("--workdir"), work.path() });
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(lines(r.out).last(), lastLine);
}

void BatchTest::usageErrorsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no port") << QStringList({ QStringLiteral("identify") });
    QTest::newRow("unknown command") << QStringList(
        { QStringLiteral("reset"), QStringLiteral("--port"), QStringLiteral("/dev/null") });
    QTest::newRow("unknown option") << QStringList({ QStringLiteral("signal"), QStringLiteral("--port"),
        QStringLiteral("/dev/null"), QStringLiteral("--output"), QStringLiteral("x") });
    QTest::newRow("missing folder") << QStringList({ QStringLiteral("identify"), QStringLiteral("--port"),
        QStringLiteral("/dev/null"), QStringLiteral("--workdir"), QStringLiteral("/nonexistent/zarven") });
    QTest::newRow("port without device") << QStringList({ QStringLiteral("identify"), QStringLiteral("--port") });
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
    const BatchRun r = runConfig({ QStringLiteral("--help") });
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("\n  identify ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  signal ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  read-keys ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  write-keys ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  read-settings ")));
    QVERIFY(r.out.contains(QStringLiteral("\n  write-settings ")));
    QVERIFY(r.out.contains(QStringLiteral("ZARVEN_TIMER_DIVISOR")));
}

namespace {

const QString kRich = QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg");

// The configuration file's records without the session lines at its end.
QByteArray records(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    const qsizetype end = all.indexOf("@message");
    return end < 0 ? all : all.left(end);
}

} // namespace

void BatchTest::settingsCommandsExitStatuses_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("input"); // write-settings' file; empty: read-settings
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastBox");
    const QString read = QStringLiteral("read-settings");
    const QString write = QStringLiteral("write-settings");
    QTest::newRow("read") << QStringList() << read << QString() << 0
                          << QStringLiteral("Процесс чтения завершился. Все OK.");
    QTest::newRow("read, empty memory")
        << QStringList({ QStringLiteral("--wrong"), QStringLiteral("Pt=") }) << read << QString() << 1
        << QStringLiteral("Процесс чтения завершился=0.Память чиста.\n Восстановить предыдующие значения");
    QTest::newRow("read, no reply") << QStringList({ QStringLiteral("--silent"), QStringLiteral("Pt") }) << read
                                    << QString() << 1 << QStringLiteral("Превышен период ожидания ответа устройства.");
    QTest::newRow("write") << QStringList() << write << kRich << 0
                           << QStringLiteral("Процесс записи завершился. Все OK.");
    QTest::newRow("write, wrong reply") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("write=text:OK") })
                                        << write << kRich << 1
                                        << QStringLiteral("Ответ об успешной записи не корректен.");
    QTest::newRow("write, no reply") << QStringList({ QStringLiteral("--silent"), QStringLiteral("write") }) << write
                                     << kRich << 1 << QStringLiteral("НЕТ ответа о окончании записи в устройство");
    QTest::newRow("write, no file") << QStringList() << write << QStringLiteral("/nonexistent.cfg") << 2
                                    << QStringLiteral("Файл не найден");
    QTest::newRow("write, refused") << QStringList() << write << QStringLiteral("bad-date") << 1
                                    << QStringLiteral(
                                           "Запись не выполнена: в поле Edit_Date должна быть дата вида дд.мм.гг.");
}

void BatchTest::settingsCommandsExitStatuses()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, command);
    QFETCH(QString, input);
    QFETCH(int, exitCode);
    QFETCH(QString, lastBox);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("out.cfg"));
    QStringList args
        = { command, QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--workdir"), work.path() };
    if (input == QLatin1String("bad-date")) {
        // The rich file with a date that is no calendar date.
        QByteArray bad = records(kRich);
        const qsizetype at = bad.indexOf("#28\r\n") + 5;
        bad.replace(at, bad.indexOf("\r\n", at) - at, "31.04.24");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bad);
        f.close();
        input = file;
    }
    args << (input.isEmpty() ? QStringLiteral("--output") : QStringLiteral("--input"))
         << (input.isEmpty() ? file : input);
    // Intervals shrunk less than elsewhere: a loaded machine must not turn
    // the scan into a failure.
    const BatchRun r = runConfig(args, 5);
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out).first(), QStringLiteral("соединение установлено."));
    QVERIFY2(r.out.trimmed().endsWith(QString(lastBox).replace(QLatin1String("\r\n"), QLatin1String("\n"))),
        qPrintable(r.out));
    if (input.isEmpty())
        QCOMPARE(QFile::exists(file), exitCode == 0);
}

void BatchTest::writeNowThenReadGivesTheFileBack()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QStringList common = { QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--workdir"), work.path() };
    BatchRun r = runConfig(
        QStringList({ QStringLiteral("write-settings"), QStringLiteral("--input"), kRich, QStringLiteral("--now") })
        + common);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    const QString out = work.filePath(QStringLiteral("back.cfg"));
    r = runConfig(QStringList({ QStringLiteral("read-settings"), QStringLiteral("--output"), out }) + common);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    const QByteArray back = records(out);
    const QByteArray rich = records(kRich);
    // Input 1 and the thermostat come back byte for byte; the date is today's.
    QCOMPARE(back.left(back.indexOf("//#01")), rich.left(rich.indexOf("//#01")));
    QCOMPARE(back.mid(back.indexOf("#23"), 60), rich.mid(rich.indexOf("#23"), 60));
    QVERIFY(back.contains("#28\r\n" + QDate::currentDate().toString(QStringLiteral("dd.MM.yy")).toLatin1()));
}

// read-keys saves the simulator's ten keys as a key file; write-keys puts an
// edited file back, and a second read-keys gives that file again.
void BatchTest::readKeysThenWriteKeysRoundTrip()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QString first = work.filePath(QStringLiteral("first.key"));
    BatchRun r = runConfig({QStringLiteral("read-keys"), QStringLiteral("--port"), sim.devicePath(),
                            QStringLiteral("--output"), first, QStringLiteral("--workdir"), work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QByteArray file = readFileBytes(first);
    QVERIFY(file.startsWith("#1\r\nMaster\r\n015A3C1E0B000095\r\n/1\r\n#2\r\n\r\n0000000000000000\r\n"));
    QCOMPARE(file.count("\r\n"), 40);

    file.replace("#10\r\n\r\n0000000000000000", "#10\r\nTenth\r\n0A0B0C0D0E0F1011");
    QFile edited(work.filePath(QStringLiteral("edited.key")));
    QVERIFY(edited.open(QIODevice::WriteOnly) && edited.write(file) == file.size());
    edited.close();
    r = runConfig({QStringLiteral("write-keys"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--input"),
                   edited.fileName(), QStringLiteral("--workdir"), work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(lines(r.out).last(), QStringLiteral("Процесс записи ключей завершился. Все OK."));

    const QString second = work.filePath(QStringLiteral("second.key"));
    r = runConfig({QStringLiteral("read-keys"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--output"),
                   second, QStringLiteral("--workdir"), work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(readFileBytes(second), file);
}

void BatchTest::keyCommandFailures_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("input"); // written as the --input file; empty: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLine");

    const QByteArray good = "#1\r\nA\r\n01\r\n/1\r\n";
    QTest::newRow("wrong ready reply") << QStringList{"--wrong", "Wr=text:ok"} << "write-keys" << good << 1
                                       << "Ответ о готовности к сохранению ключей некорректен.";
    QTest::newRow("wrong final reply") << QStringList{"--wrong", "table=text:OK"} << "write-keys" << good << 1
                                       << "Ответ об успешной записи ключей не корректен.";
    QTest::newRow("no final reply") << QStringList{"--silent", "table"} << "write-keys" << good << 1
                                    << "соединение установлено.";
    QTest::newRow("refused code") << QStringList{} << "write-keys" << QByteArray("#1\r\nA\r\nzz\r\n") << 1
                                  << "Код Ключа №1 содержит недопустимые символы";
    QTest::newRow("malformed file") << QStringList{} << "write-keys" << QByteArray("#1\r\nA\r\n01\r\n#\r\n") << 2
                                    << "Ошибка формата файла ключей в строке 4";
    QTest::newRow("missing file") << QStringList{} << "write-keys" << QByteArray() << 2 << "";
    QTest::newRow("no table") << QStringList{"--silent", "Cn"} << "read-keys" << QByteArray() << 1
                              << "Таблица ключей не получена от прибора. Таблица на экране не показывает ключи "
                                 "прибора; при записи она заменит все десять ключей прибора.";
}

void BatchTest::keyCommandFailures()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, command);
    QFETCH(QByteArray, input);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("keys.key"));
    if (!input.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(input) == input.size());
    }
    const BatchRun r = runConfig({command, QStringLiteral("--port"), sim.devicePath(),
                                 command == QLatin1String("read-keys") ? QStringLiteral("--output")
                                                                       : QStringLiteral("--input"),
                                 file, QStringLiteral("--workdir"), work.path()});
    QTEST(r.exitCode, "exitCode");
    QTEST(lines(r.out).value(lines(r.out).size() - 1), "lastLine");
    if (command == QLatin1String("read-keys"))
        QVERIFY(!QFile::exists(file));
}

QTEST_GUILESS_MAIN(BatchTest)
#include "test_batch.moc"
