#include "provision/series_run.h"

#include "config_file/config_files.h"
#include "core/shared_values.h"
#include "core/timing.h"
#include "exchange/exchange_core.h"
#include "exchange/identification.h"
#include "journal/journal_recorder.h"
#include "journal/journalled_write.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"
#include "keys/key_table.h"
#include "provision/site_values.h"
#include "serial/device_watch.h"
#include "serial/port_adapter.h"
#include "settings/settings_compare.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <optional>

namespace zarven {

struct SeriesRun::Unit {
    QString port;
    QString adapter;
    QString version;
    QString result = QString::fromUtf8(series_result::kFailed);
    QString reason; // in the window's language
    int fieldsChanged = -1;
    qint64 journalEntry = 0;
};

SeriesRun::SeriesRun(SeriesParts parts, SeriesOptions options, QObject *parent)
    : QObject(parent), p_(std::move(parts)), o_(std::move(options))
{
    if (p_.watch && o_.ports.isEmpty())
        connect(p_.watch, &DeviceWatch::deviceAppeared, this, [this](const QString &path) {
            // Only the device node itself: its by-id and by-path links name
            // the same adapter.
            if (!path.contains(QLatin1String("/serial/")))
                plugged_ << path;
        });
}

QString SeriesRun::tr(const QString &russian) const
{
    return p_.translate ? p_.translate(russian) : russian;
}

void SeriesRun::tell(const QString &text)
{
    if (say)
        say(text);
}

bool SeriesRun::waitFor(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void SeriesRun::pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    waitFor([&] { return clock.elapsed() >= ms || stopRequested_; }, ms + 1000);
}

bool SeriesRun::identifyOn(const QString &port)
{
    std::optional<ScanOutcome> outcome;
    const auto c = connect(p_.scan, &ControllerScan::scanFinished, this, [&outcome](ScanOutcome o) {
        if (!outcome)
            outcome = o;
    });
    try {
        p_.scan->scanPlugged(port);
    } catch (const std::exception &) {
        // The port vanished between the look and the scan: not plugged.
    }
    waitFor([&] { return outcome.has_value(); }, 4 * p_.intervals->scanStepMs + p_.intervals->responseTimeoutMs);
    disconnect(c);
    return outcome == ScanOutcome::Connected;
}

bool SeriesRun::waitForController()
{
    while (!stopRequested_) {
        if (!o_.ports.isEmpty()) {
            for (const QString &port : o_.ports)
                if (QFileInfo::exists(port) && identifyOn(port))
                    return true;
        } else if (!plugged_.isEmpty()) {
            const QString port = plugged_.takeFirst();
            pause(p_.deviceSettleMs);
            if (QFileInfo::exists(port) && identifyOn(port))
                return true;
            continue;
        }
        pause(o_.pollMs);
    }
    return false;
}

void SeriesRun::waitForUnplug(const QString &port)
{
    // A device node goes with its adapter; a fixed port stays, and then the
    // controller's silence tells it was taken off.
    while (!stopRequested_ && QFileInfo::exists(port)) {
        pause(o_.pollMs);
        if (QFileInfo::exists(port) && !identifyOn(port))
            return;
    }
}

bool SeriesRun::writeKeys(const QString &file, QString &reason)
{
    KeyProgramming &keys = *p_.keys;
    const int limit = p_.intervals->keyWriteWaitMs + 2 * p_.intervals->keyStreamWaitMs
        + 3 * p_.intervals->responseTimeoutMs;
    bool timedOut = false;
    const auto t = connect(&keys, &KeyProgramming::tableTimedOut, this, [&timedOut] { timedOut = true; });
    keys.openKeyMode();
    const bool table = waitFor([&] { return timedOut || keys.tableWhole(); }, limit) && keys.tableWhole();
    disconnect(t);
    if (!table) {
        reason = tr(QStringLiteral("ключи: таблица ключей прибора не получена"));
        keys.closeKeyMode();
        return false;
    }
    if (!keys.loadKeysFrom(file)) {
        reason = tr(QStringLiteral("ключи: файл ключей не прочитан"));
        keys.closeKeyMode();
        return false;
    }
    const QByteArray expected = keyTableRecords(keys.panel().rows());
    std::optional<KeyWriteOutcome> outcome;
    const auto c = connect(&keys, &KeyProgramming::writeFinished, this, [&outcome](KeyWriteOutcome o) { outcome = o; });
    keys.writeKeys();
    waitFor([&] { return outcome.has_value(); }, limit);
    disconnect(c);
    if (outcome != KeyWriteOutcome::Confirmed) {
        reason = tr(QStringLiteral("ключи: прибор не подтвердил запись"));
        keys.closeKeyMode();
        return false;
    }
    return readKeysBack(expected, reason);
}

bool SeriesRun::readKeysBack(const QByteArray &expected, QString &reason)
{
    KeyProgramming &keys = *p_.keys;
    bool timedOut = false;
    const auto t = connect(&keys, &KeyProgramming::tableTimedOut, this, [&timedOut] { timedOut = true; });
    keys.openKeyMode();
    const bool table = waitFor([&] { return timedOut || keys.tableWhole(); }, 3 * p_.intervals->responseTimeoutMs)
        && keys.tableWhole();
    disconnect(t);
    const bool same = table && keyTableRecords(keys.panel().rows()) == expected;
    // The controller leaves key programming mode whatever was read: one
    // left in it does not guard.
    keys.closeKeyMode();
    if (!table)
        reason = tr(QStringLiteral("ключи: проверочное чтение без ответа"));
    else if (!same)
        reason = tr(QStringLiteral("ключи: прочитанная таблица отличается от записанной"));
    return same;
}

void SeriesRun::provision(int row, Unit &unit)
{
    unit.port = p_.shared->ConnectedPort;
    const PortAdapter adapter = portAdapter(unit.port);
    unit.adapter = adapter.serial.isEmpty() ? adapter.label() : adapter.serial;
    unit.version = p_.scan->connectedVersion();
    if (p_.journalSite)
        p_.journalSite(o_.table.rows.at(row).at(o_.table.column(QLatin1String(kSiteColumn))).trimmed());

    // The template with the row's values, the date and time as the
    // template holds them.
    p_.controls->setChecked(QStringLiteral("CheckBox4"), false);
    if (!p_.files->loadFrom(o_.templatePath)) {
        unit.reason = tr(QStringLiteral("шаблон не загружен"));
        return;
    }
    applySiteRow(*p_.controls, o_.table, row);
    const QList<TableProblem> refusals = writeRefusals(*p_.controls, *p_.shared, o_.table.lines.at(row), p_.translate);
    if (!refusals.isEmpty()) {
        unit.result = QString::fromUtf8(series_result::kRefused);
        unit.reason = refusals.first().text(p_.translate);
        return;
    }

    std::optional<WriteOutcome> outcome;
    std::optional<CompareOutcome> check;
    const auto w = connect(p_.write, &JournalledWrite::finished, this, [&outcome](WriteOutcome o, bool) {
        if (!outcome)
            outcome = o;
    });
    const auto v = connect(p_.compare, &SettingsCompare::finished, this, [&check](CompareOutcome o) { check = o; });
    const auto j = connect(p_.journal, &JournalRecorder::entryAdded, this, [&unit](qint64 id) { unit.journalEntry = id; });
    p_.write->setPreview([&unit](const WritePreview &preview) {
        unit.fieldsChanged = preview.controllerRead ? int(preview.differences.size()) : -1;
        return true;
    });
    p_.write->setVerifying([] { return true; });
    try {
        p_.write->start();
    } catch (const std::exception &) {
        // Told by the window's error report; the unit failed.
    }
    waitFor([&] { return outcome.has_value(); }, 8 * p_.intervals->responseTimeoutMs);
    disconnect(w);
    disconnect(v);
    disconnect(j);
    if (!outcome) {
        unit.reason = tr(QStringLiteral("запись не закончилась вовремя"));
        return;
    }
    switch (*outcome) {
    case WriteOutcome::Acknowledged:
        break;
    case WriteOutcome::Refused:
        unit.result = QString::fromUtf8(series_result::kRefused);
        unit.reason = tr(QStringLiteral("запись отклонена"));
        return;
    case WriteOutcome::WrongReply:
        unit.reason = tr(QString::fromUtf8(journal_result::kWrongReply));
        return;
    case WriteOutcome::TimedOut:
        unit.reason = tr(QString::fromUtf8(journal_result::kNoReply));
        return;
    case WriteOutcome::NoConnection:
        unit.reason = tr(QString::fromUtf8(journal_result::kLineLost));
        return;
    }
    if (check != CompareOutcome::Same) {
        unit.reason = tr(QString::fromUtf8(check == CompareOutcome::Different     ? journal_result::kVerifyDiffers
                                           : check == CompareOutcome::EmptyMemory ? journal_result::kVerifyEmpty
                                                                                  : journal_result::kVerifyNoReply));
        return;
    }
    QString keyFile = siteKeyFile(o_.table, row, o_.tableFolder);
    if (keyFile.isEmpty())
        keyFile = o_.keysPath;
    if (!keyFile.isEmpty() && !writeKeys(keyFile, unit.reason))
        return;
    unit.result = QString::fromUtf8(series_result::kOk);
}

SeriesSummary SeriesRun::run()
{
    SeriesSummary summary;
    summary.sites = int(o_.table.rows.size());
    const QSet<QString> done = o_.resume ? sitesDone(o_.reportPath) : QSet<QString>();
    const int siteColumn = o_.table.column(QLatin1String(kSiteColumn));
    // The sites from row on that neither this run nor an earlier one did.
    auto notStarted = [&](int from) {
        int n = 0;
        for (int r = from; r < summary.sites; ++r)
            n += done.contains(o_.table.rows.at(r).at(siteColumn).trimmed()) ? 0 : 1;
        return n;
    };
    for (const QStringList &r : o_.table.rows)
        summary.done += done.contains(r.at(siteColumn).trimmed()) ? 1 : 0;
    auto changed = [this](int row, SiteState state, const QString &detail = {}) {
        if (siteChanged)
            siteChanged(row, state, detail);
    };
    for (int row = 0; row < summary.sites; ++row) {
        const QString site = o_.table.rows.at(row).at(siteColumn).trimmed();
        if (done.contains(site)) {
            changed(row, SiteState::Done);
            continue;
        }
        if (stopRequested_) {
            summary.notStarted = notStarted(row);
            break;
        }
        tell(tr(QStringLiteral("Подключите прибор для объекта «%1» (%2 из %3)")).arg(site).arg(row + 1).arg(summary.sites));
        changed(row, SiteState::Waiting);
        if (!waitForController()) {
            summary.notStarted = notStarted(row);
            break;
        }
        Unit unit;
        for (;;) {
            changed(row, SiteState::Working);
            unit = Unit{};
            QElapsedTimer clock;
            clock.start();
            provision(row, unit);
            SeriesReportRow report{QDateTime::currentDateTime(), site, unit.port, unit.adapter, unit.version,
                                   unit.result, unit.reason, unit.fieldsChanged, unit.journalEntry, clock.elapsed()};
            QString error;
            if (!o_.reportPath.isEmpty() && !appendReportRow(o_.reportPath, report, &error)) {
                // A unit the report does not hold is not done.
                unit.result = QString::fromUtf8(series_result::kFailed);
                unit.reason = tr(QStringLiteral("отчёт не записан: %1")).arg(error);
            }
            if (unit.result == QLatin1String(series_result::kOk)) {
                ++summary.ok;
                changed(row, SiteState::Ok);
                tell(tr(QStringLiteral("Готово, отключите прибор")));
                break;
            }
            const bool refused = unit.result == QLatin1String(series_result::kRefused);
            changed(row, refused ? SiteState::Refused : SiteState::Failed, unit.reason);
            const QString failure = tr(QStringLiteral("Объект «%1»: сбой — %2")).arg(site, unit.reason);
            tell(failure);
            if (stopRequested_ || !retry || !retry(row, failure)) {
                ++summary.failed;
                changed(row, SiteState::Skipped, unit.reason);
                tell(tr(QStringLiteral("Отключите прибор")));
                break;
            }
        }
        waitForUnplug(unit.port);
    }
    summary.stopped = summary.stopped || stopRequested_;
    if (p_.journalSite)
        p_.journalSite(QString());
    if (p_.afterRun)
        p_.afterRun();
    return summary;
}

QString SeriesRun::summaryText(const SeriesSummary &s) const
{
    return tr(QStringLiteral("Итого объектов: %1; готово: %2; были готовы раньше: %3; с ошибкой: %4; не начато: %5"))
        .arg(s.sites)
        .arg(s.ok)
        .arg(s.done)
        .arg(s.failed)
        .arg(s.notStarted);
}

} // namespace zarven
