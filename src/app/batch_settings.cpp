#include "app/batch_settings.h"

#include "app/batch_compare.h"
#include "app/batch_mode.h"
#include "app/main_window.h"
#include "config_file/config_files.h"
#include "core/message_boxes.h"
#include "journal/journalled_write.h"
#include "settings/settings_read.h"
#include "settings/settings_write.h"

#include <QAction>
#include <optional>

namespace zarven {

namespace {

// Runs a handler that ends in one signal of source and waits for it.
template <typename Outcome, typename Source, typename Signal>
std::optional<Outcome> runAndWait(BatchSession& s, Source* source, Signal signal, const std::function<void()>& handler)
{
    std::optional<Outcome> outcome;
    const auto c = QObject::connect(source, signal, [&outcome](Outcome o) {
        if (!outcome)
            outcome = o;
    });
    const int limit = 3 * s.form().options.intervals.responseTimeoutMs;
    const bool ended = s.run(handler) && s.waitUntil([&outcome] { return outcome.has_value(); }, limit);
    QObject::disconnect(c);
    return ended ? outcome : std::nullopt;
}

} // namespace

bool loadSettingsFile(BatchSession& s, const QString& input)
{
    MainWindow& form = s.form();
    ControlAccess& controls = form.configFiles->controls();
    const QString dateTimeMode = QStringLiteral("CheckBox4");
    // Manual date and time, so that the clock does not replace the file's
    // time while the exchange is on its way.
    bool loaded = false;
    if (!s.run([&] {
            controls.setChecked(dateTimeMode, false);
            loaded = form.configFiles->loadFrom(input);
        })
        || !loaded)
        return false;
    if (s.hasFlag(QStringLiteral("--now"))) {
        s.run([&] {
            controls.setChecked(dateTimeMode, true);
            form.onClockTick();
        });
    }
    return true;
}

int runReadSettingsCommand(BatchSession& s)
{
    const QString output = s.requiredOption(QStringLiteral("--output"));
    if (output.isEmpty())
        return BatchUsageError;
    if (!s.identify())
        return BatchExchangeFailed;
    MainWindow& form = s.form();
    // The window keeps what the controller holds, even an empty memory. Its
    // hidden window is nobody's work: save.000 keeps the user's backup.
    s.boxes().setQuestionAnswer(false);
    form.settingsRead->setKeepsBackup(false);
    const auto outcome = runAndWait<ReadOutcome>(
        s, form.settingsRead, &SettingsRead::readFinished, [&form] { form.settingsRead->readSettings(); });
    if (!outcome)
        return BatchExchangeFailed;
    switch (*outcome) {
    case ReadOutcome::Decoded:
        if (!s.run([&] { form.configFiles->writeFile(output); }))
            return BatchUsageError;
        return BatchSuccess;
    case ReadOutcome::Incomplete:
        for (const QString& line : form.settingsRead->lastDecodingEntries())
            s.print(line);
        s.printError(QStringLiteral("zarven4-config: the controller's reply was cut short; no file written"));
        return BatchExchangeFailed;
    case ReadOutcome::MemoryEmpty:
        s.printError(QStringLiteral("zarven4-config: the controller's settings memory is empty; no file written"));
        return BatchExchangeFailed;
    case ReadOutcome::TimedOut:
    case ReadOutcome::NoConnection:
        return BatchExchangeFailed;
    }
    return BatchExchangeFailed;
}

int runWriteSettingsCommand(BatchSession& s)
{
    const QString input = s.requiredOption(QStringLiteral("--input"));
    if (input.isEmpty())
        return BatchUsageError;
    if (!s.identify())
        return BatchExchangeFailed;
    MainWindow& form = s.form();
    if (!loadSettingsFile(s, input))
        return BatchUsageError;
    // --verify: the acknowledged write is read back and compared.
    std::optional<ComparisonWatch> check;
    form.verifyAfterWriteAction->setChecked(s.hasFlag(QStringLiteral("--verify")));
    if (s.hasFlag(QStringLiteral("--verify")))
        check.emplace(s);
    // The controller's settings are read and journalled first; --preview
    // prints what the write would change and stops there.
    const bool previewOnly = s.hasFlag(QStringLiteral("--preview"));
    std::optional<int> previewStatus;
    form.journalledWrite->setPreview([&](const WritePreview &preview) {
        if (!previewOnly)
            return true;
        const TextTranslator tr = [&form](const QString &text) { return form.inLanguage(text); };
        for (const QString &line : writePreviewLines(preview, tr))
            s.print(line);
        previewStatus = preview.controllerRead && preview.differences.isEmpty() ? BatchSuccess : BatchDifferent;
        return false;
    });
    std::optional<WriteOutcome> outcome;
    const auto c = QObject::connect(form.journalledWrite, &JournalledWrite::finished,
                                    [&outcome](WriteOutcome o, bool) {
                                        if (!outcome)
                                            outcome = o;
                                    });
    const int limit = 6 * form.options.intervals.responseTimeoutMs;
    const bool ended = s.run([&form] { form.journalledWrite->start(); })
        && s.waitUntil([&outcome] { return outcome.has_value(); }, limit);
    QObject::disconnect(c);
    if (!ended || !outcome)
        return BatchExchangeFailed;
    if (previewOnly && previewStatus)
        return *previewStatus;
    switch (*outcome) {
    case WriteOutcome::Acknowledged:
        return check ? (check->wait() ? check->exitStatus() : BatchExchangeFailed) : BatchSuccess;
    case WriteOutcome::Refused:
        s.printError(s.boxes().shown().isEmpty() ? QString() : s.boxes().shown().last().text);
        return BatchExchangeFailed;
    case WriteOutcome::WrongReply:
    case WriteOutcome::TimedOut:
    case WriteOutcome::NoConnection:
        return BatchExchangeFailed;
    }
    return BatchExchangeFailed;
}

} // namespace zarven
