#pragma once
// The journal: every read and write of a controller's settings, kept in one
// SQLite file in the program's folder, so that yesterday's settings of any
// controller can be looked up, exported as a configuration file and written
// back.
//
// Each entry is added in a transaction of its own, and the database runs in
// WAL mode with full synchronisation: a killed process or a power cut loses
// at most the entry being added, never one that was committed, and never
// leaves the file damaged. The schema carries its version (PRAGMA
// user_version); open() migrates an older file step by step, each step in
// its transaction.
//
// A journal that cannot be opened (a read-only folder, a damaged file, a
// file of a newer schema) is left exactly as it is: open() returns false and
// lastError() says why. Nothing here ever deletes or replaces the file.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace zarven {

// What an entry records. Stored as these keys, shown by journalOperationName().
enum class JournalOperation {
    Read,     // the controller's settings as a read found them
    Replaced, // the controller's settings just before a write replaced them
    Written,  // the settings a write sent
};

struct JournalEntry {
    qint64 id = 0; // set by the store
    QDateTime time;
    JournalOperation operation = JournalOperation::Read;
    QString port;    // the device path
    QString adapter; // what stands behind the port, when known
    QString version; // the controller's identification reply
    QString site;    // the configuration file loaded or saved last
    // The settings as a configuration file's bytes; empty when the
    // controller gave none (an empty memory, no reply).
    QByteArray settings;
    // The settings image as it crossed the line (the reply to "Pt", or the
    // records written); empty when none did.
    QByteArray image;
    // The phone numbers the settings hold, blank-separated: the journal
    // window finds entries by them.
    QString phones;
    int fieldsChanged = -1; // -1: not counted
    QString result;         // "ok" or what went wrong, in the tool's words
};

// The key an operation is stored under ("read", "replaced", "written").
QString journalOperationKey(JournalOperation op);
std::optional<JournalOperation> journalOperationFromKey(const QString &key);

struct JournalQuery {
    QString search;  // part of a site, a file name or a phone number; empty: all
    int limit = -1;  // newest first; -1: all
    bool withSettings = true; // false: the settings and image stay unread (a long list)
};

class JournalStore {
public:
    static constexpr int kSchemaVersion = 1;

    JournalStore();
    ~JournalStore();
    JournalStore(const JournalStore &) = delete;
    JournalStore &operator=(const JournalStore &) = delete;

    // Opens (creating when missing) the journal at path and migrates it.
    bool open(const QString &path);
    bool isOpen() const { return open_; }
    QString path() const { return path_; }
    QString lastError() const { return error_; }

    // Adds one entry in one transaction; returns its id, or 0 (lastError()
    // says why) when it could not be stored.
    qint64 add(const JournalEntry &entry);
    // Newest first.
    QList<JournalEntry> entries(const JournalQuery &query = {}) const;
    std::optional<JournalEntry> entry(qint64 id) const;
    int count() const;

    // "ok" when SQLite's integrity check passes, else its first complaint.
    QString integrityCheck() const;

private:
    bool fail(const QString &what, const QString &why);
    bool migrate();

    QString connection_;
    QString path_;
    mutable QString error_;
    bool open_ = false;
};

} // namespace zarven
