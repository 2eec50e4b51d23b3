#include "app/batch_compare.h"

#include "app/batch_mode.h"
#include "app/batch_settings.h"
#include "app/main_window.h"
#include "config_file/config_files.h"

namespace zarven {

ComparisonWatch::ComparisonWatch(BatchSession &s) : s_(s)
{
    SettingsCompare &compare = *s.form().settingsCompare;
    compare.setPresenter([&s, &compare](const CompareReport &report) {
        const TextTranslator tr = [&compare](const QString &text) { return compare.translate(text); };
        for (const QString &line : differenceReport(report.comparison, tr))
            s.print(line);
    });
    connection_ = QObject::connect(&compare, &SettingsCompare::finished, [this](CompareOutcome o) {
        if (!outcome_)
            outcome_ = o;
    });
}

ComparisonWatch::~ComparisonWatch()
{
    QObject::disconnect(connection_);
}

bool ComparisonWatch::wait()
{
    return s_.waitUntil([this] { return outcome_.has_value(); }, 3 * s_.form().options.intervals.responseTimeoutMs);
}

int ComparisonWatch::exitStatus() const
{
    if (outcome_ == CompareOutcome::Same)
        return BatchSuccess;
    if (outcome_ == CompareOutcome::Different)
        return BatchDifferent;
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
    MainWindow &form = s.form();
    if (!loadSettingsFile(s, input))
        return BatchUsageError;
    ComparisonWatch watch(s);
    if (!s.run([&form] { form.settingsCompare->compareClick(); }) || !watch.wait())
        return BatchExchangeFailed;
    return watch.exitStatus();
}

} // namespace zarven
