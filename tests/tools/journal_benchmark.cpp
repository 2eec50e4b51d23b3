// Figures of the journal, not a test: the size of an entry with a real
// configuration file's settings, and the time the journal window takes to
// open over 10,000 entries.
//
//     journal_benchmark [ENTRIES]

#include "journal/journal_store.h"
#include "journal/journal_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

using namespace zarven;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QFile cfg(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg"));
    QFile image(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.image"));
    if (!cfg.open(QIODevice::ReadOnly) || !image.open(QIODevice::ReadOnly))
        return 1;
    JournalEntry e;
    e.operation = JournalOperation::Read;
    e.port = QStringLiteral("/dev/ttyUSB0");
    e.version = QStringLiteral("v2.1");
    e.settings = cfg.readAll();
    e.image = image.readAll();
    e.phones = QStringLiteral("+79161234567 +79031112233");
    e.result = QStringLiteral("OK");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    JournalStore store;
    if (!store.open(path))
        return 1;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        e.site = QStringLiteral("/home/user/Объект %1.cfg").arg(i % 400);
        store.add(e);
    }
    const qint64 addMs = clock.elapsed();
    {
        // Fold the WAL into the database file so its size is the journal's.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("size"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("size"));
    const qint64 bytes = QFileInfo(path).size();
    std::printf("entries: %d, added in %lld ms (%.2f ms each, one transaction each)\n", count,
                static_cast<long long>(addMs), double(addMs) / count);
    std::printf("journal: %lld bytes, %.0f bytes per entry (settings file %lld bytes, image %lld bytes)\n",
                static_cast<long long>(bytes), double(bytes) / count, static_cast<long long>(e.settings.size()),
                static_cast<long long>(e.image.size()));
    clock.restart();
    JournalWindow window(store, {}, [](const QString &t) { return t; });
    window.show();
    app.processEvents();
    std::printf("journal window over %d entries: shown in %lld ms, %d rows\n", count,
                static_cast<long long>(clock.elapsed()), window.table()->rowCount());
    return 0;
}
