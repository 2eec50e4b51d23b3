#pragma once
// A write of the window's settings with its safety net: the settings a write
// would refuse are refused before anything is sent; the controller's
// settings are read first ("Pt") and journalled as the ones the write
// replaces; the preview shows what the write will change, field by field,
// and the write goes on only when it is accepted; the settings written are
// journalled with the write's result and the check after it.
//
// A read before the write that gets no settings (an empty memory, no reply)
// is journalled as such and does not stop the write: the preview then says
// that the controller's settings could not be read.

#include "journal/controller_snapshot.h"
#include "settings/control_access.h"
#include "settings/settings_comparison.h"
#include "settings/settings_compare.h"
#include "settings/settings_write.h"

#include <QObject>
#include <functional>

namespace zarven {

class JournalRecorder;
class SettingsRead;

// What the write will change.
struct WritePreview {
    bool controllerRead = false;        // false: the whole window is written
    QList<FieldDifference> differences; // window (new) against controller (old)
};

// The preview's texts: one line per difference as the compare dialog lists
// them, then "Будет изменено полей: N" or "Настройки прибора совпадают с
// окном: запись не нужна"; without the controller's settings, the line that
// says so.
QStringList writePreviewLines(const WritePreview &preview, const TextTranslator &tr);

class JournalledWrite : public QObject {
    Q_OBJECT
public:
    JournalledWrite(ExchangeCore &core, SettingsRead &read, SettingsWrite &write, SettingsCompare &compare,
                    ControlAccess window, JournalRecorder &journal, QObject *parent = nullptr);

    // Shows the preview; returns true to write. Not set: the write goes on
    // without a question.
    void setPreview(std::function<bool(const WritePreview &)> preview) { preview_ = std::move(preview); }
    // Whether the write is read back and compared afterwards.
    void setVerifying(std::function<bool()> verifying) { verifying_ = std::move(verifying); }

    // The write button.
    void start();

signals:
    // Once per start(): after the write and its check, or when it stopped
    // before writing (refused, no connection, the preview declined).
    void finished(zarven::WriteOutcome outcome, bool declined);

private:
    void snapshotTaken(ControllerSnapshot::Outcome outcome);
    void writeDone(WriteOutcome outcome);
    void checkDone(CompareOutcome outcome);
    void recordWritten(const QString &result);

    ExchangeCore &core_;
    SettingsWrite &write_;
    ControlAccess window_;
    JournalRecorder &journal_;
    ControllerSnapshot snapshot_;
    std::function<bool(const WritePreview &)> preview_;
    std::function<bool()> verifying_;
    bool active_ = false;     // between start() and finished()
    bool writing_ = false;    // the settings write of this start() is out
    bool checking_ = false;   // its check after writing runs
    int fieldsChanged_ = -1;
};

} // namespace zarven
