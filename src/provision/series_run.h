#pragma once
// A series of controllers: one template, one row of the sites table per
// controller. For each site in order it asks for the controller, waits for
// it on the listed ports (or for a newly plugged adapter), identifies it,
// loads the template with the row's values, writes through the journalled
// write (the controller's settings journalled first) with the byte-true
// check after it, writes and reads back the site's keys, appends a report
// row, and waits for the controller to be unplugged. A failed unit can be
// tried again at once or skipped.
//
// The run waits in the event loop (nested loops, as a batch run does), so
// the window's exchanges, timers and dialogs go on meanwhile. Every pause is
// counted in `pollMs` and the window's timer intervals, which tests shrink.

#include "provision/series_report.h"
#include "provision/site_table.h"
#include "settings/control_access.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace zarven {

class ConfigFiles;
class ControllerScan;
class DeviceWatch;
class ExchangeCore;
class JournalRecorder;
class JournalledWrite;
class KeyProgramming;
class SettingsCompare;
struct SharedValues;
struct TimerIntervals;

// The window's parts a series works with.
struct SeriesParts {
    ExchangeCore *core = nullptr;
    ControllerScan *scan = nullptr;
    ConfigFiles *files = nullptr;
    JournalledWrite *write = nullptr;
    SettingsCompare *compare = nullptr;
    JournalRecorder *journal = nullptr;
    KeyProgramming *keys = nullptr;
    SharedValues *shared = nullptr;
    ControlAccess *controls = nullptr;
    const TimerIntervals *intervals = nullptr;
    // Reports newly plugged adapters when no ports are listed; may be null.
    DeviceWatch *watch = nullptr;
    int deviceSettleMs = 200;
    // Passes a Russian text into the window's language.
    std::function<QString(const QString &)> translate;
    // Names the site the journal's entries are for (empty: none).
    std::function<void(const QString &site)> journalSite;
    // Runs once the series has ended: the window takes back the write's
    // preview and check it had.
    std::function<void()> afterRun;
};

struct SeriesOptions {
    QString templatePath;
    SiteTable table;
    QString tableFolder;  // key files of the table are found from here
    QString keysPath;     // the key file for every site without its own; may be empty
    QString reportPath;   // may be empty: no report
    QStringList ports;    // empty: wait for a newly plugged adapter
    bool resume = false;  // skip the sites the report has as ok
    int pollMs = 500;     // between two looks for a plugged or unplugged controller
};

// What became of one site.
enum class SiteState { Waiting, Working, Ok, Refused, Failed, Skipped, Done };

struct SeriesSummary {
    int sites = 0;
    int ok = 0;        // this run
    int done = 0;      // already ok in the report (--resume)
    int failed = 0;    // failed or refused, not tried again
    int notStarted = 0;
    bool stopped = false;
    bool allOk() const { return ok + done == sites; }
};

class SeriesRun : public QObject {
    Q_OBJECT
public:
    SeriesRun(SeriesParts parts, SeriesOptions options, QObject *parent = nullptr);

    // The user's side: what to say, the large step text, each site's state
    // and whether to try a failed unit again (true) or skip it.
    std::function<void(const QString &text)> say;
    std::function<void(int row, SiteState state, const QString &detail)> siteChanged;
    std::function<bool(int row, const QString &failure)> retry;

    // Ends the series after the unit under way.
    void stop() { stopRequested_ = true; }
    bool stopRequested() const { return stopRequested_; }

    SeriesSummary run();

    // "Итого: …" in the window's language.
    QString summaryText(const SeriesSummary &summary) const;

private:
    struct Unit;
    bool waitFor(const std::function<bool()> &done, int limitMs);
    void pause(int ms);
    bool waitForController();
    bool identifyOn(const QString &port);
    void waitForUnplug(const QString &port);
    void provision(int row, Unit &unit);
    bool writeKeys(const QString &file, QString &reason);
    bool readKeysBack(const QByteArray &expected, QString &reason);
    QString tr(const QString &russian) const;
    void tell(const QString &text);

    SeriesParts p_;
    SeriesOptions o_;
    bool stopRequested_ = false;
    QStringList plugged_; // adapters that appeared, oldest first
};

} // namespace zarven
