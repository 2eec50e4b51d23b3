#pragma once
// "Сравнить с прибором" and the check after a write: the controller's
// settings are read with "Pt", as the read does, but never into the window;
// the window, save.000 and the controller stay as they are. The reply's
// bytes are compared field by field with the image a write of the window
// would send (or with the image that was written), byte for byte
// (settings_comparison.h), and the differences handed to the presenter: the
// differences dialog in the window, printed lines in batch mode. The reply
// is also decoded into a shadow set of panels (shadow_settings.h) so that its
// format errors reach the window's log as a read's would.
//
// The request is the read's own ("Pt", state ssReadSettings), with the reply
// handed here instead of to the window's decoding and its final dialogs.
// After the reply the port is purged and the idle close started at once:
// there is no final question to wait for.

#include "exchange/exchange_core.h"
#include "settings/control_access.h"
#include "settings/settings_comparison.h"
#include "settings/settings_read.h"

#include <QObject>
#include <functional>

namespace zarven {

enum class CompareOutcome {
    Same,          // no field differs
    Different,     // the presenter got the differences
    NoConnection,  // nothing was sent
    TimedOut,      // the controller did not answer
    EmptyMemory,   // the reply held no settings
    Refused,       // the window's settings cannot be written; nothing was sent
    Replaced,      // another exchange took the line before the reply came
};

struct CompareReport {
    bool afterWrite = false; // the check after a write, not the menu's compare
    Comparison comparison;
};

class SettingsCompare : public QObject {
    Q_OBJECT
public:
    SettingsCompare(ExchangeCore &core, SettingsRead &read, ControlAccess window, QObject *parent = nullptr);

    // "Сравнить с прибором": the window's fields against the controller's.
    // Settings the write would refuse are refused here the same way, with
    // nothing sent: the comparison answers what a write would change.
    void compareClick();
    // After the controller acknowledged a write: reads the settings back and
    // compares them with the written image (the records as sent, without
    // markers and write command). A match shows the write's success box
    // saying the settings were verified; differences go to the presenter as
    // a failed check.
    void verifyAfterWrite(const QByteArray &writtenImage);

    // Shows a finished comparison. Not set: nothing is shown.
    void setPresenter(std::function<void(const CompareReport &)> presenter) { presenter_ = std::move(presenter); }

    // The window's language for every text of the comparison.
    QString translate(const QString &russian) const;

signals:
    void finished(CompareOutcome outcome);

private:
    void start(const QByteArray &expected, bool afterWrite);
    void replyReceived(const QByteArray &reply);
    void responseTimedOut(int state);
    void finish(CompareOutcome outcome);
    void showMessage(const QString &russian);

    ExchangeCore &core_;
    SettingsRead &read_;
    ControlAccess window_;
    std::function<void(const CompareReport &)> presenter_;
    // A sender replaced the pending comparison: it ends without a message.
    void exchangeStarting();

    QByteArray expected_;
    bool afterWrite_ = false;
    bool waiting_ = false;
};

} // namespace zarven
