#include "app/batch_compare.h"

#include "app/batch_mode.h"
#include "app/main_window.h"
#include "config_file/config_files.h"

#include <optional>

namespace zarven {

int runComparison(BatchSession &s, const std::function<void()> &start)
{
    SettingsCompare &compare = *s.form().settingsCompare;
    compare.setPresenter([&s, &compare](const CompareReport &report) {
        const TextTranslator tr = [&compare](const QString &text) { return compare.translate(text); };
        for (const QString &line : differenceReport(report.differences, tr))
            s.print(line);
    });
    std::optional<CompareOutcome> outcome;
    const auto c = QObject::connect(&compare, &SettingsCompare::finished, [&outcome](CompareOutcome o) { outcome = o; });
    const TimerIntervals &iv = s.form().options.intervals;
    const bool ran = s.run(start);
    const bool ended = ran && s.waitUntil([&outcome] { return outcome.has_value(); }, 3 * iv.responseTimeoutMs);
    QObject::disconnect(c);
    if (!ran)
        return BatchUsageError; // the settings could not be encoded
    if (!ended)
        return BatchExchangeFailed;
    switch (*outcome) {
    case CompareOutcome::Same:
        return BatchSuccess;
    case CompareOutcome::Different:
        return BatchDifferent;
    case CompareOutcome::NoConnection:
    case CompareOutcome::TimedOut:
    case CompareOutcome::EmptyMemory:
    case CompareOutcome::Failed:
        break;
    }
    return BatchExchangeFailed;
}

int runCompareCommand(BatchSession &s)
{
    const QString input = s.option(QStringLiteral("--input"));
    if (input.isEmpty()) {
        s.printError(QStringLiteral("zarven4-config: --input FILE is required"));
        return BatchUsageError;
    }
    if (!s.identify())
        return BatchExchangeFailed;
    ConfigFiles &files = *s.form().configFiles;
    bool loaded = false;
    if (!s.run([&] { loaded = files.loadFrom(input); }) || !loaded)
        return BatchUsageError;
    return runComparison(s, [&s] { s.form().settingsCompare->compareClick(); });
}

} // namespace zarven
