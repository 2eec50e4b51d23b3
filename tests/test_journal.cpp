// The journal: entries survive a killed process, a journal that cannot be
// used is left alone and reported, and reads, exports and file comparisons
// work end to end against the simulator.

#include "batch_run.h"
#include "exchange_fixture.h"
#include "sim_process.h"

#include "journal/journal_recorder.h"
#include "journal/journal_store.h"
#include "journal/journal_window.h"
#include "journal/journalled_write.h"
#include "settings/control_names.h"
#include "settings/settings_read.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>

using namespace zarven;
using namespace zarven::test;

namespace {

constexpr char kWriterVariable[] = "ZARVEN_TEST_JOURNAL_WRITER";

JournalEntry sampleEntry(int n)
{
    JournalEntry e;
    e.operation = JournalOperation::Written;
    e.port = QStringLiteral("/dev/ttyUSB0");
    e.site = QStringLiteral("/home/user/Кв. %1.cfg").arg(n);
    e.phones = QStringLiteral("+7916%1").arg(n, 7, 10, QLatin1Char('0'));
    e.settings = QByteArray(3000, char('A' + n % 26));
    e.image = QByteArray(700, char(n));
    e.fieldsChanged = n % 7;
    e.result = QStringLiteral("OK");
    return e;
}

// The child process of killedWriterLosesNoCommittedEntry: adds entries
// without end and prints each id once its transaction has committed.
int writeEntriesUntilKilled(const QString &path)
{
    JournalStore store;
    if (!store.open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(store.lastError()));
        return 2;
    }
    for (int n = 1;; ++n) {
        const qint64 id = store.add(sampleEntry(n));
        if (id == 0) {
            std::fprintf(stderr, "%s\n", qPrintable(store.lastError()));
            return 3;
        }
        std::printf("%lld\n", static_cast<long long>(id));
        std::fflush(stdout);
    }
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    void killedWriterLosesNoCommittedEntry();
    void unusableJournalIsRefusedAndLeftAlone_data();
    void unusableJournalIsRefusedAndLeftAlone();
    void searchFindsSitesAndPhonesNewestFirst();
    void readsAreJournalledAndExportAndDiffAgree();
    void previewListsWhatTheWriteChangesAndTheJournalKeepsBothSides();
};

void JournalTest::killedWriterLosesNoCommittedEntry()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    qint64 committed = 0;
    for (int round = 0; round < 3; ++round) {
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kWriterVariable), path);
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(writer.waitForStarted());
        QByteArray printed;
        // Killed at a different point of its work each round.
        while (printed.count('\n') < 20 + 17 * round && writer.waitForReadyRead(10000))
            printed += writer.readAllStandardOutput();
        QVERIFY2(writer.state() == QProcess::Running && writer.processId() > 0,
                 qPrintable(QString::fromUtf8(printed + writer.readAllStandardError())));
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        printed += writer.readAllStandardOutput();
        const QList<QByteArray> ids = printed.trimmed().split('\n');
        QVERIFY2(ids.size() >= 20, printed.constData());
        committed = ids.last().toLongLong();

        JournalStore store;
        QVERIFY2(store.open(path), qPrintable(store.lastError()));
        QCOMPARE(store.integrityCheck(), QStringLiteral("ok"));
        for (const QByteArray &id : ids) {
            const std::optional<JournalEntry> e = store.entry(id.toLongLong());
            QVERIFY2(e.has_value(), id.constData());
            QCOMPARE(e->settings.size(), 3000);
        }
        QVERIFY(store.count() >= committed);
    }
}

void JournalTest::unusableJournalIsRefusedAndLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("underAFile");
    QTest::addColumn<QString>("why");
    QByteArray garbage(8192, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    QTest::newRow("damaged file") << garbage << false << QString();
    QTest::newRow("folder is a file") << QByteArray() << true << QString();
    QTest::newRow("newer schema") << QByteArray() << false << QStringLiteral("newer version");
}

void JournalTest::unusableJournalIsRefusedAndLeftAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, underAFile);
    QFETCH(QString, why);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    if (underAFile) {
        QFile blocker(dir.filePath(QStringLiteral("notafolder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        path = blocker.fileName() + QStringLiteral("/journal.sqlite");
    } else if (!why.isEmpty()) {
        {
            JournalStore first;
            QVERIFY(first.open(path));
            QVERIFY(first.add(sampleEntry(1)) > 0);
        }
        // A journal of a later tool's schema.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("later"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("later"));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QByteArray before = fileBytes(path);

    JournalStore store;
    const bool opened = store.open(path);
    QVERIFY(!opened);
    QVERIFY(!store.lastError().isEmpty());
    if (!why.isEmpty())
        QVERIFY2(store.lastError().contains(why), qPrintable(store.lastError()));
    QVERIFY(store.add(sampleEntry(2)) == 0);
    QCOMPARE(fileBytes(path), before);
}

void JournalTest::searchFindsSitesAndPhonesNewestFirst()
{
    QTemporaryDir dir;
    JournalStore store;
    QVERIFY(store.open(dir.filePath(QStringLiteral("j.sqlite"))));
    for (int n = 1; n <= 12; ++n)
        QVERIFY(store.add(sampleEntry(n)) > 0);
    QCOMPARE(store.entries({QStringLiteral("кв. 1"), -1}).size(), 4); // 1, 10, 11, 12
    QCOMPARE(store.entries({QStringLiteral("kb"), -1}).size(), 0);
    const auto byPhone = store.entries({QStringLiteral("79160000007"), -1});
    QCOMPARE(byPhone.size(), 1);
    QCOMPARE(byPhone.first().site, QStringLiteral("/home/user/Кв. 7.cfg"));
    const auto newest = store.entries({QString(), 3});
    QCOMPARE(newest.size(), 3);
    QCOMPARE(newest.first().id, 12);
    QCOMPARE(newest.first().operation, JournalOperation::Written);
}

void JournalTest::readsAreJournalledAndExportAndDiffAgree()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir work;
    const QString wd = work.path();
    const QString read = work.filePath(QStringLiteral("read.cfg"));
    const BatchRun r = runConfig({QStringLiteral("read-settings"), QStringLiteral("--port"), sim.devicePath(),
                                  QStringLiteral("--workdir"), wd, QStringLiteral("--output"), read});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));

    const BatchRun list = runConfig({QStringLiteral("journal"), QStringLiteral("--workdir"), wd});
    QCOMPARE(list.exitCode, 0);
    const QStringList entries = lines(list.out);
    QCOMPARE(entries.size(), 1);
    QVERIFY2(entries.first().startsWith(QStringLiteral("1  ")) && entries.first().contains(QStringLiteral("чтение"))
                 && entries.first().endsWith(QStringLiteral("OK")),
             qPrintable(entries.first()));

    const QString exported = work.filePath(QStringLiteral("exported.cfg"));
    QCOMPARE(runConfig({QStringLiteral("journal"), QStringLiteral("--workdir"), wd, QStringLiteral("--export"),
                        QStringLiteral("1"), QStringLiteral("--output"), exported})
                 .exitCode,
             0);
    const BatchRun same = runConfig({QStringLiteral("diff"), read, exported, QStringLiteral("--workdir"), wd});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(lines(same.out).value(0), QStringLiteral("Различий нет"));

    const QString rich = QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg");
    const BatchRun differ = runConfig({QStringLiteral("diff"), exported, rich, QStringLiteral("--workdir"), wd});
    QCOMPARE(differ.exitCode, 3);
    QVERIFY2(differ.out.contains(QStringLiteral("Вход 1 / ")) && differ.out.contains(QStringLiteral("settings_rich.cfg «")),
             qPrintable(differ.out));
    const BatchRun notConfig = runConfig({QStringLiteral("diff"), exported, QStringLiteral(ZARVEN_TEST_DATA "/original_layout.key"),
                                          QStringLiteral("--workdir"), wd});
    QCOMPARE(notConfig.exitCode, 2);

    // A damaged journal is reported, left as it is, and the read still works.
    QFile journal(work.filePath(QStringLiteral("journal.sqlite")));
    QVERIFY(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
    journal.write(QByteArray(4096, '\x5a'));
    journal.close();
    const BatchRun damaged = runConfig({QStringLiteral("read-settings"), QStringLiteral("--port"), sim.devicePath(),
                                        QStringLiteral("--workdir"), wd, QStringLiteral("--output"), read});
    QCOMPARE(damaged.exitCode, 0);
    QCOMPARE(damaged.out.count(QStringLiteral("Журнал чтений и записей недоступен")), 1);
    QCOMPARE(fileBytes(journal.fileName()), QByteArray(4096, '\x5a'));
}

void JournalTest::previewListsWhatTheWriteChangesAndTheJournalKeepsBothSides()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ExchangeFixture f;
    MainWindow &form = f.form();
    form.shared.ConnectedPort = sim.devicePath();
    QSignalSpy read(form.settingsRead, &SettingsRead::readFinished);
    form.readSettingsAction->trigger();
    QTRY_COMPARE(read.count(), 1);
    ControlAccess window(*form.panels);
    window.setText(phoneControl(1), QStringLiteral("+79161234567"));
    window.setText(inputControls(1).message, QStringLiteral("Дверь"));

    // Declined: the controller's settings are journalled, nothing is written.
    QSignalSpy done(form.journalledWrite, &JournalledWrite::finished);
    f.boxes.clear();
    f.boxes.setReviewAnswer(false);
    form.writeSettingsAction->trigger();
    QTRY_COMPARE(done.count(), 1);
    QVERIFY2(f.boxes.shown().size() == 1 && f.boxes.shown().first().kind == BoxKind::Review,
             qPrintable(f.boxes.texts().join(QLatin1Char('|'))));
    const QString preview = f.boxes.shown().first().text;
    QVERIFY2(preview.contains(QStringLiteral("Телефоны / ")) && preview.contains(QStringLiteral("Вход 1 / "))
                 && preview.endsWith(QStringLiteral("Будет изменено полей: 2")),
             qPrintable(preview));
    JournalStore &store = form.journal->store();
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.entries().first().operation, JournalOperation::Replaced);

    // Accepted: written, checked, and both sides journalled.
    f.boxes.clear();
    f.boxes.setReviewAnswer(true);
    form.writeSettingsAction->trigger();
    QTRY_COMPARE(done.count(), 2);
    QTRY_COMPARE(store.count(), 4);
    const QList<JournalEntry> entries = store.entries();
    QCOMPARE(entries.at(0).operation, JournalOperation::Written);
    QCOMPARE(entries.at(0).result, QString::fromUtf8(journal_result::kVerified));
    QCOMPARE(entries.at(0).fieldsChanged, 2);
    QVERIFY(entries.at(0).phones.contains(QStringLiteral("+79161234567")));
    QCOMPARE(entries.at(1).operation, JournalOperation::Replaced);
    QVERIFY(!entries.at(1).phones.contains(QStringLiteral("+79161234567")));

    // Nothing left to change: the preview says so.
    f.boxes.clear();
    f.boxes.setReviewAnswer(false);
    form.writeSettingsAction->trigger();
    QTRY_COMPARE(done.count(), 3);
    QVERIFY2(f.boxes.shown().first().text.endsWith(QStringLiteral("Настройки прибора совпадают с окном: запись не нужна")),
             qPrintable(f.boxes.shown().first().text));

    // The journal window finds the write by its number and opens it.
    form.journalAction->trigger();
    QVERIFY(form.journalWindow);
    QCOMPARE(form.journalWindow->table()->rowCount(), 5);
    form.journalWindow->search()->setText(QStringLiteral("79161234567"));
    QCOMPARE(form.journalWindow->table()->rowCount(), 2); // the write, and the read before the next write
    window.setText(phoneControl(1), QStringLiteral("+7"));
    form.journalWindow->table()->selectRow(1);
    form.journalWindow->buttons().at(0)->click();
    QCOMPARE(window.text(phoneControl(1)).trimmed(), QStringLiteral("+79161234567"));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(kWriterVariable)) {
        QCoreApplication app(argc, argv);
        return writeEntriesUntilKilled(qEnvironmentVariable(kWriterVariable));
    }
    QApplication app(argc, argv);
    JournalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_journal.moc"
