#pragma once
// Adds the window's reads and writes to the journal. The recorder owns the
// store, opened once in the program's folder; what an entry says about the
// line and the site (port, adapter, version reply, the file loaded or saved
// last) comes from the window through JournalSource at the moment of the
// entry, the settings from a set of settings controls, encoded as a
// configuration file.
//
// A journal that cannot be opened or written is reported once, through the
// reporter, and the tool works on without it; the file is left as it is.

#include "journal/journal_store.h"

#include <QObject>
#include <functional>

namespace zarven {

class ControlAccess;

struct JournalSource {
    std::function<QString()> port;
    std::function<QString()> adapter;
    std::function<QString()> version;
    std::function<QString()> site;
};

// The results an entry records, in the tool's words (Russian; shown through
// the dictionary).
namespace journal_result {
inline constexpr char kOk[] = "OK";
inline constexpr char kEmptyMemory[] = "память прибора пуста";
inline constexpr char kNoReply[] = "прибор не ответил";
inline constexpr char kWrongReply[] = "ответ не корректен";
inline constexpr char kVerified[] = "записано, проверено: различий нет";
inline constexpr char kVerifyDiffers[] = "записано, проверка нашла различия";
inline constexpr char kVerifyNoReply[] = "записано, проверочное чтение без ответа";
inline constexpr char kVerifyEmpty[] = "записано, проверочное чтение: память пуста";
inline constexpr char kNotVerified[] = "записано, без проверки";
inline constexpr char kIncomplete[] = "ответ неполный";
inline constexpr char kLineLost[] = "связь с прибором потеряна";
} // namespace journal_result

// The phone numbers of a set of settings controls, blank-separated.
QString phoneNumbersOf(const ControlAccess &settings);

class JournalRecorder : public QObject {
    Q_OBJECT
public:
    // The journal lives at path() (asked when first needed: the program's
    // folder is known only once the window has started); reporter is called
    // with the reason the first time the journal cannot be used.
    JournalRecorder(std::function<QString()> path, JournalSource source,
                    std::function<void(const QString &)> reporter, QObject *parent = nullptr);

    // The store, opened on first use. Check isOpen() before reading it.
    JournalStore &store();
    bool available() { return store().isOpen(); }

    // One entry: the settings of `settings` (none when null) encoded as a
    // configuration file, the image as it crossed the line. Returns the
    // entry's id, 0 when the journal could not take it.
    qint64 record(JournalOperation op, const ControlAccess *settings, const QByteArray &image, int fieldsChanged,
                  const QString &result);

signals:
    void entryAdded(qint64 id);

private:
    void reportOnce();

    std::function<QString()> path_;
    bool tried_ = false;
    JournalStore store_;
    JournalSource source_;
    std::function<void(const QString &)> reporter_;
    bool reported_ = false;
};

} // namespace zarven
