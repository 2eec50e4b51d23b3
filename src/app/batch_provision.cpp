#include "app/batch_provision.h"

#include "app/batch_mode.h"
#include "app/main_window.h"
#include "app/series_parts.h"
#include "settings/settings_compare.h"
#include "provision/series_run.h"
#include "provision/site_values.h"
#include "serial/device_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace zarven {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

bool readBytes(BatchSession &s, const QString &path, QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1: %2").arg(path, f.errorString()));
        return false;
    }
    content = f.readAll();
    return true;
}

// Enter: try again; "s" (or end of input): skip.
bool askRetry(BatchSession &s)
{
    if (!::isatty(STDIN_FILENO)) {
        s.print(s.form().inLanguage(QStringLiteral("Прибор пропущен")));
        return false;
    }
    s.print(s.form().inLanguage(QStringLiteral("Enter — повторить, s и Enter — пропустить")));
    char line[64];
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    return line[0] == '\n' || line[0] == '\r';
}

} // namespace

int runProvisionCommand(BatchSession &s)
{
    MainWindow &form = s.form();
    const TextTranslator tr = [&form](const QString &text) { return form.inLanguage(text); };
    if (s.hasFlag(QStringLiteral("--columns"))) {
        for (const QString &line : siteColumnLines(tr))
            s.print(line);
        return BatchSuccess;
    }
    SeriesOptions o;
    o.templatePath = s.requiredOption(QStringLiteral("--template"));
    const QString sites = s.requiredOption(QStringLiteral("--sites"));
    if (o.templatePath.isEmpty() || sites.isEmpty())
        return BatchUsageError;
    o.keysPath = s.option(QStringLiteral("--keys"));
    o.reportPath = s.option(QStringLiteral("--report"));
    o.resume = s.hasFlag(QStringLiteral("--resume"));
    o.ports = form.options.extraPorts;
    o.tableFolder = QFileInfo(sites).absolutePath();
    if (o.resume && o.reportPath.isEmpty()) {
        s.printError(QStringLiteral("zarven4-config: --resume needs --report FILE"));
        return BatchUsageError;
    }
    QByteArray content;
    if (!readBytes(s, sites, content))
        return BatchUsageError;
    o.table = parseSiteTable(content);
    if (!o.table.ok()) {
        s.printError(QStringLiteral("zarven4-config: %1: %2").arg(sites, o.table.error));
        return BatchUsageError;
    }
    QList<TableProblem> problems = checkSiteTable(o.table, o.tableFolder);
    if (!o.keysPath.isEmpty() && !QFileInfo(o.keysPath).isReadable()) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1").arg(o.keysPath));
        return BatchUsageError;
    }
    if (problems.isEmpty())
        problems = seriesWriteRefusals(form, o);
    if (!problems.isEmpty()) {
        for (const TableProblem &p : problems)
            s.printError(p.text(tr));
        s.printError(tr(QStringLiteral("Таблица объектов не принята: ничего не записано")));
        return BatchUsageError;
    }

    // The check after the write prints what differs.
    SettingsCompare &compare = *form.settingsCompare;
    compare.setPresenter([&s, &compare](const CompareReport &report) {
        const TextTranslator ctr = [&compare](const QString &text) { return compare.translate(text); };
        for (const QString &line : differenceReport(report.comparison, ctr))
            s.print(line);
    });
    // Without --port the series waits for adapters plugged into /dev.
    std::unique_ptr<DeviceWatch> watch;
    if (o.ports.isEmpty())
        watch = std::make_unique<DeviceWatch>(form.options.deviceFolder.isEmpty() ? QStringLiteral("/dev")
                                                                                   : form.options.deviceFolder);
    o.pollMs = form.options.intervals.scanStepMs / 2;
    SeriesRun series(seriesParts(form, watch.get()), o);
    series.say = [&s](const QString &text) { s.print(text); };
    series.retry = [&s](int, const QString &) { return askRetry(s); };

    interrupted = 0;
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&] {
        if (interrupted && !series.stopRequested()) {
            s.print(tr(QStringLiteral("Серия будет остановлена после текущего прибора")));
            series.stop();
        }
    });
    stopWatch.start(50);
    const SeriesSummary summary = series.run();
    stopWatch.stop();
    ::sigaction(SIGINT, &previous, nullptr);
    s.print(series.summaryText(summary));
    return summary.allOk() ? BatchSuccess : BatchExchangeFailed;
}

} // namespace zarven
