#include "journal/journal_store.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zarven {

namespace {

constexpr struct {
    JournalOperation op;
    const char *key;
} kOperationKeys[] = {
    {JournalOperation::Read, "read"},
    {JournalOperation::Replaced, "replaced"},
    {JournalOperation::Written, "written"},
};

// The schema, one step per version: step i brings a file of version i to
// version i + 1. A new version appends a step; a step is never changed once
// released, since files of every earlier version must still migrate.
const char *const kMigrations[] = {
    "CREATE TABLE entries ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time TEXT NOT NULL,"
    " operation TEXT NOT NULL,"
    " port TEXT NOT NULL DEFAULT '',"
    " adapter TEXT NOT NULL DEFAULT '',"
    " version TEXT NOT NULL DEFAULT '',"
    " site TEXT NOT NULL DEFAULT '',"
    " phones TEXT NOT NULL DEFAULT '',"
    " settings BLOB,"
    " image BLOB,"
    " fields_changed INTEGER NOT NULL DEFAULT -1,"
    " result TEXT NOT NULL DEFAULT '')",
};
static_assert(std::size(kMigrations) == JournalStore::kSchemaVersion);

QString nextConnectionName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("zarven4-journal-%1").arg(counter.fetchAndAddRelaxed(1));
}

JournalEntry entryFrom(const QSqlQuery &q)
{
    JournalEntry e;
    e.id = q.value(0).toLongLong();
    e.time = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
    e.operation = journalOperationFromKey(q.value(2).toString()).value_or(JournalOperation::Read);
    e.port = q.value(3).toString();
    e.adapter = q.value(4).toString();
    e.version = q.value(5).toString();
    e.site = q.value(6).toString();
    e.phones = q.value(7).toString();
    e.settings = q.value(8).toByteArray();
    e.image = q.value(9).toByteArray();
    e.fieldsChanged = q.value(10).toInt();
    e.result = q.value(11).toString();
    return e;
}

constexpr char kColumns[] =
    "id, time, operation, port, adapter, version, site, phones, settings, image, fields_changed, result";

} // namespace

QString journalOperationKey(JournalOperation op)
{
    for (const auto &k : kOperationKeys)
        if (k.op == op)
            return QString::fromLatin1(k.key);
    return {};
}

std::optional<JournalOperation> journalOperationFromKey(const QString &key)
{
    for (const auto &k : kOperationKeys)
        if (key == QLatin1String(k.key))
            return k.op;
    return std::nullopt;
}

JournalStore::JournalStore() : connection_(nextConnectionName()) {}

JournalStore::~JournalStore()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool JournalStore::fail(const QString &what, const QString &why)
{
    error_ = why.isEmpty() ? what : what + QStringLiteral(": ") + why;
    return false;
}

bool JournalStore::open(const QString &path)
{
    path_ = path;
    open_ = false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("the SQLite driver of Qt SQL is not installed"), {});
    QSqlDatabase db = QSqlDatabase::contains(connection_)
                          ? QSqlDatabase::database(connection_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path);
    // A busy journal (another window adding an entry) is waited for, briefly.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open())
        return fail(path, db.lastError().text());
    QSqlQuery q(db);
    // The first statement reads the file: a damaged file or one that is no
    // database fails here, and is then left alone, as is a journal of a
    // later schema (switching it to WAL would already write to it).
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        const QString why = q.lastError().text();
        db.close();
        return fail(path, why);
    }
    if (const int version = q.value(0).toInt(); version > kSchemaVersion) {
        db.close();
        return fail(path, QStringLiteral("the journal was written by a newer version of the tool (schema %1, this tool knows %2)")
                              .arg(version)
                              .arg(kSchemaVersion));
    }
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()) {
        const QString why = q.lastError().text();
        db.close();
        return fail(path, why);
    }
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        db.close();
        return fail(path, QStringLiteral("WAL mode is not available"));
    }
    // FULL: a committed entry survives a power cut, not only a crash.
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    if (!migrate()) {
        db.close();
        return false;
    }
    open_ = true;
    return true;
}

bool JournalStore::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return fail(path_, q.lastError().text());
    int version = q.value(0).toInt();
    for (; version < kSchemaVersion; ++version) {
        if (!db.transaction())
            return fail(path_, db.lastError().text());
        QSqlQuery step(db);
        if (!step.exec(QString::fromLatin1(kMigrations[version]))
            || !step.exec(QStringLiteral("PRAGMA user_version=%1").arg(version + 1))) {
            const QString why = step.lastError().text();
            db.rollback();
            return fail(path_, why);
        }
        if (!db.commit())
            return fail(path_, db.lastError().text());
    }
    return true;
}

qint64 JournalStore::add(const JournalEntry &e)
{
    if (!open_) {
        fail(QStringLiteral("the journal is not open"), {});
        return 0;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        fail(path_, db.lastError().text());
        return 0;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO entries (time, operation, port, adapter, version, site, phones,"
                             " settings, image, fields_changed, result)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue((e.time.isValid() ? e.time : QDateTime::currentDateTime()).toString(Qt::ISODateWithMs));
    // An empty text is bound as '' rather than NULL.
    auto text = [](const QString &t) { return t.isNull() ? QStringLiteral("") : t; };
    q.addBindValue(journalOperationKey(e.operation));
    q.addBindValue(text(e.port));
    q.addBindValue(text(e.adapter));
    q.addBindValue(text(e.version));
    q.addBindValue(text(e.site));
    q.addBindValue(text(e.phones));
    q.addBindValue(e.settings.isNull() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(e.settings));
    q.addBindValue(e.image.isNull() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(e.image));
    q.addBindValue(e.fieldsChanged);
    q.addBindValue(text(e.result));
    if (!q.exec()) {
        fail(path_, q.lastError().text());
        db.rollback();
        return 0;
    }
    const qint64 id = q.lastInsertId().toLongLong();
    if (!db.commit()) {
        fail(path_, db.lastError().text());
        db.rollback();
        return 0;
    }
    return id;
}

QList<JournalEntry> JournalStore::entries(const JournalQuery &query) const
{
    QList<JournalEntry> list;
    if (!open_)
        return list;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    QString columns = QLatin1String(kColumns);
    if (!query.withSettings)
        columns.replace(QLatin1String("settings, image"), QLatin1String("NULL, NULL"));
    // The search ignores letter case in any alphabet, which SQLite's own
    // lower() does only for Latin letters: it runs here, over the short
    // columns, and the limit counts what it kept.
    const bool searching = !query.search.isEmpty();
    if (searching)
        columns.replace(QLatin1String("settings, image"), QLatin1String("NULL, NULL"));
    QString sql = QStringLiteral("SELECT %1 FROM entries ORDER BY id DESC").arg(columns);
    if (query.limit >= 0 && !searching)
        sql += QStringLiteral(" LIMIT %1").arg(query.limit);
    if (!q.exec(sql)) {
        error_ = q.lastError().text();
        return list;
    }
    while (q.next() && (query.limit < 0 || list.size() < query.limit)) {
        JournalEntry e = entryFrom(q);
        if (searching && !e.site.contains(query.search, Qt::CaseInsensitive) && !e.phones.contains(query.search))
            continue;
        if (searching && query.withSettings) {
            if (std::optional<JournalEntry> whole = entry(e.id))
                e = *whole;
        }
        list.append(e);
    }
    return list;
}

std::optional<JournalEntry> JournalStore::entry(qint64 id) const
{
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT %1 FROM entries WHERE id = ?").arg(QLatin1String(kColumns)));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return entryFrom(q);
}

int JournalStore::count() const
{
    if (!open_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT count(*) FROM entries")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

QString JournalStore::integrityCheck() const
{
    if (!open_)
        return error_;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next())
        return q.lastError().text();
    return q.value(0).toString();
}

} // namespace zarven
