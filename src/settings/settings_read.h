#pragma once
// Reading the controller's settings ("Чтение настроек из памяти прибора",
// menu "Считать параметры"): the window is saved to the backup file, "Pt"
// is sent, and the reply (state ssReadSettings) is decoded into the window.
// A reply without settings offers to restore the backup.
//
// The window is reset only when the reply has arrived, just before it is
// decoded: a read that gets no reply leaves the user's settings in the
// window, and the next read backs up those, not a cleared window.
//
// The reply can also go elsewhere: requestImage() sends "Pt" and hands the
// reply to its receiver, which may decode it with decodeSettingsReply()
// into a second set of panels and leave the window alone.

#include "exchange/exchange_core.h"
#include "settings/control_access.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace zarven {

class EventLog;

enum class ReadOutcome {
    Decoded, // at least one counted record
    Incomplete, // records decoded, but the reply ended inside one: part of the settings was not read
    MemoryEmpty, // a reply without counted records
    TimedOut, // no reply before responseTimer
    NoConnection, // no controller found, or its port will not open
};

// Resets target (cleanPanel) and decodes a "Pt" reply into it, logging its
// format errors; returns the number of counted records.
int decodeSettingsReply(const QByteArray& Str, ControlAccess& target, EventLog& log);

// What the read needs of the window besides the exchange: the settings
// controls and the backup file's save and restore (the configuration save and
// load in backup mode).
struct SettingsReadWindow {
    ControlAccess controls;
    std::function<void()> saveBackup;
    std::function<void()> restoreBackup;
};

class SettingsRead : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArray& Str)>;

    SettingsRead(ExchangeCore& core, SettingsReadWindow window, QObject* parent = nullptr);

    // The button and the menu item.
    void readSettings();
    // Sends "Pt" to the connected controller and hands the reply to
    // receiver, which must end the exchange itself (state, responseTimer, the idle
    // close). False, after the no-connection message, when nothing was sent.
    bool requestImage(Receiver receiver);
    // The reply route (SessionState 2).
    void settingsReply(const QByteArray& Str);

    // Whether a read saves the window to the backup file first and offers
    // to restore it after an empty reply; on by default. A batch run has no
    // user's window to keep, and must not replace the user's backup.
    void setKeepsBackup(bool keep) { keepsBackup_ = keep; }
    // The log lines the last read's decoding added (its format errors).
    const QStringList& lastDecodingEntries() const { return decodingEntries_; }

signals:
    // Emitted once per read of the window that was started, after its last
    // box.
    void readFinished(zarven::ReadOutcome outcome);

private:
    SendRequest request() const;
    // The window's own handling of the reply.
    void decodeIntoWindow(const QByteArray& Str);
    // ssIdle, both queues purged, the idle close started.
    void endExchange();

    ExchangeCore& core_;
    SettingsReadWindow window_;
    Receiver receiver_;
    bool windowRead_ = false;
    bool keepsBackup_ = true;
    QStringList decodingEntries_;
};

} // namespace zarven
