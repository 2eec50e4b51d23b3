// An adapter pulled in the middle of an exchange: the simulator closes its
// pseudo-terminal when the exchange's command arrives (--drop-after). Every
// exchange, in the window and in batch mode, ends at once with one message
// saying that the connection was lost and why, long before its time-out,
// and leaves the window and the files as they were.

#include "batch_run.h"
#include "exchange_fixture.h"
#include "file_bytes.h"
#include "config_file/config_files.h"
#include "keys/key_file.h"
#include "keys/key_programming.h"
#include "settings/settings_write.h"
#include "sim_process.h"
#include "window_state.h"

#include "editor/settings_panels.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QString kLost = QStringLiteral("Связь с прибором потеряна, обмен прерван.");

enum Exchange { Scan, ReadSettings, WriteSettings, CheckAfterWrite, KeyTable, KeyRead, KeyWrite, Signal };

// Every file of the work folder with its bytes.
QMap<QString, QByteArray> files(const QString &folder)
{
    QMap<QString, QByteArray> all;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        all.insert(name, readFileBytes(folder + QLatin1Char('/') + name));
    return all;
}

} // namespace

class LostLineTest : public QObject {
    Q_OBJECT
private slots:
    void lostLineEndsTheExchangeAtOnce_data();
    void lostLineEndsTheExchangeAtOnce();
    void lostLineEndsTheBatchCommand_data();
    void lostLineEndsTheBatchCommand();
};

void LostLineTest::lostLineEndsTheExchangeAtOnce_data()
{
    QTest::addColumn<QString>("dropAfter");
    QTest::addColumn<int>("exchange");
    QTest::newRow("scan") << QStringLiteral("Tt") << int(Scan);
    QTest::newRow("settings read") << QStringLiteral("Pt") << int(ReadSettings);
    QTest::newRow("settings write") << QStringLiteral("write") << int(WriteSettings);
    QTest::newRow("check after write") << QStringLiteral("Pt") << int(CheckAfterWrite);
    QTest::newRow("key table") << QStringLiteral("Cn") << int(KeyTable);
    QTest::newRow("key read") << QStringLiteral("Kr") << int(KeyRead);
    QTest::newRow("key write") << QStringLiteral("Wr") << int(KeyWrite);
    QTest::newRow("key table stream") << QStringLiteral("table") << int(KeyWrite);
    QTest::newRow("signal level") << QStringLiteral("Sg") << int(Signal);
}

void LostLineTest::lostLineEndsTheExchangeAtOnce()
{
    QFETCH(QString, dropAfter);
    QFETCH(int, exchange);
    SimProcess sim({QStringLiteral("--drop-after"), dropAfter});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    // A real time-out: an exchange that waits for it cannot pass.
    TimerIntervals iv = fastIntervals();
    iv.responseTimeoutMs = 10000;
    iv.keyWriteWaitMs = 20;
    iv.keyStreamWaitMs = 5;
    ExchangeFixture f({sim.devicePath()}, iv);
    MainWindow &w = f.form();
    if (exchange != Scan)
        w.shared.ConnectedPort = sim.devicePath();
    if (exchange == KeyRead || exchange == KeyWrite) {
        w.keyProgrammingAction->trigger();
        QTRY_VERIFY(w.keys->tableWhole());
    }
    if (exchange == WriteSettings || exchange == CheckAfterWrite)
        QVERIFY(w.configFiles->loadFrom(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg")));
    const qsizetype boxesBefore = f.boxes.shown().size();

    QElapsedTimer clock;
    clock.start();
    switch (exchange) {
    case Scan: w.connectAction->trigger(); break;
    case ReadSettings: w.readSettingsAction->trigger(); break;
    // The write itself: the read before it and its preview are the
    // journal's, with their own lost-line case.
    case CheckAfterWrite: w.verifyAfterWriteAction->setChecked(true); w.settingsWrite->writeSettings(); break;
    case WriteSettings: w.verifyAfterWriteAction->setChecked(false); w.settingsWrite->writeSettings(); break;
    case KeyTable: w.keyProgrammingAction->trigger(); break;
    case KeyRead: w.keys->readKey(3); break;
    case KeyWrite: w.keys->writeKeys(); break;
    case Signal: w.signalRefreshButton->click(); break;
    }
    // What the exchange set up when it started (the read's manual date and
    // time, its backup) stays.
    // The time box runs with the clock unless a read stopped it; it is not
    // what a lost line may change.
    const auto settled = [&w] {
        QStringList state = windowState(*w.panels);
        state.removeIf([](const QString &line) { return line.startsWith(QStringLiteral("Edit_time=")); });
        return state;
    };
    const QStringList windowBefore = settled();
    const QMap<QString, QByteArray> filesBefore = files(f.dir.path());
    QTRY_VERIFY_WITH_TIMEOUT(f.boxes.shown().size() > boxesBefore, 5000);
    const qint64 told = clock.elapsed();

    QVERIFY2(told < iv.responseTimeoutMs / 4, qPrintable(QString::number(told)));
    QCOMPARE(f.boxes.shown().size(), boxesBefore + 1);
    const QString text = f.boxes.shown().last().text;
    QVERIFY2(text.startsWith(kLost + QStringLiteral("\r\n") + sim.devicePath() + QStringLiteral(": устройство отключено.")),
             qPrintable(text));
    QCOMPARE(f.state(), int(ssIdle));
    QVERIFY(!w.responseTimer->isActive());
    QVERIFY(!w.scanTimer->isActive());
    QVERIFY(w.shared.ConnectedPort.isEmpty());
    QCOMPARE(w.connectButton->text(), QStringLiteral("Соединить"));
    // The key modes' own ends: the prompt gone, "Отменить" usable.
    if (exchange == KeyTable || exchange == KeyRead || exchange == KeyWrite) {
        QVERIFY(!w.keyFrame->isHidden());
        QVERIFY(w.keyFrame->isEnabled());
        QVERIFY(w.keyPrompt->isHidden());
        QVERIFY(w.keyPanel->closeKeysButton->isEnabled());
    }
    // Nothing follows: no time-out, no second message, nothing reset or saved.
    QTest::qWait(10 * iv.idleCloseMs);
    QCOMPARE(f.boxes.shown().size(), boxesBefore + 1);
    QCOMPARE(settled(), windowBefore);
    QCOMPARE(files(f.dir.path()), filesBefore);
}

void LostLineTest::lostLineEndsTheBatchCommand_data()
{
    QTest::addColumn<QString>("dropAfter");
    QTest::addColumn<QString>("command"); // OUT: the work folder, CFG: a settings file
    QTest::newRow("identify") << "Tt" << "identify";
    QTest::newRow("read-settings") << "Pt" << "read-settings --output OUT/out";
    QTest::newRow("write-settings") << "write" << "write-settings --input CFG";
    QTest::newRow("write-settings --verify") << "Pt" << "write-settings --input CFG --verify";
    QTest::newRow("read-keys") << "Cn" << "read-keys --output OUT/out";
    QTest::newRow("write-keys, Wr") << "Wr" << "write-keys --input OUT/in.key";
    QTest::newRow("write-keys, table") << "table" << "write-keys --input OUT/in.key";
    QTest::newRow("signal") << "Sg" << "signal";
}

void LostLineTest::lostLineEndsTheBatchCommand()
{
    QFETCH(QString, dropAfter);
    QFETCH(QString, command);
    QTemporaryDir work;
    KeyRows rows;
    for (KeyRow &r : rows)
        r.code = QStringLiteral("0000000000000000");
    writeFileBytes(work.filePath(QStringLiteral("in.key")), keyFileContent(rows));
    command.replace(QStringLiteral("OUT"), work.path()).replace(QStringLiteral("CFG"), QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg"));

    SimProcess sim({QStringLiteral("--drop-after"), dropAfter});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    // The real intervals: the ten-second time-out must not be what ends it.
    const BatchRun r = runConfig(command.split(QLatin1Char(' ')) + QStringList{QStringLiteral("--port"), sim.devicePath(),
                                                                             QStringLiteral("--workdir"), work.path()},
                                 0);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out.count(kLost), 1);
    QVERIFY2(r.out.contains(sim.devicePath() + QStringLiteral(": устройство отключено.")), qPrintable(r.out));
    // The loss is the last word: no time-out, no no-connection message.
    QVERIFY2(lines(r.out).last().startsWith(QStringLiteral("Проверьте подключение прибора")), qPrintable(r.out));
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QVERIFY2(r.elapsedMs < 5000, qPrintable(QString::number(r.elapsedMs)));
    QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("out"))));
}

QTEST_MAIN(LostLineTest)
#include "test_exchange_lost_line.moc"
