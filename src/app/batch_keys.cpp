#include "app/batch_keys.h"

#include "app/batch_formats.h"
#include "app/batch_mode.h"
#include "app/main_window.h"
#include "keys/key_programming.h"

#include <QFileInfo>
#include <QFrame>
#include <optional>

namespace zarven {

namespace {

// Opens the mode and waits for the table; true when the whole table came.
bool openWithTable(BatchSession &s)
{
    KeyProgramming &keys = *s.form().keys;
    bool timedOut = false;
    const auto c = QObject::connect(&keys, &KeyProgramming::tableTimedOut, [&timedOut] { timedOut = true; });
    const int limit = 3 * s.form().options.intervals.responseTimeoutMs;
    const bool opened = s.run([&keys] { keys.openKeyMode(); }) && !s.form().keyFrame->isHidden();
    const bool ended = opened && s.waitUntil([&] { return timedOut || keys.tableBytesReceived() >= kKeyTableBytes; },
                                             limit);
    QObject::disconnect(c);
    return ended && keys.tableBytesReceived() >= kKeyTableBytes;
}

// Leaves the mode with "Ur" and passes the exit status on.
int leave(BatchSession &s, int status)
{
    // Without a line there is no one to tell; "Ur" would only add a
    // no-connection message to the loss already told.
    if (!s.form().keyFrame->isHidden() && !s.lineLost())
        s.run([&s] { s.form().keys->closeKeyMode(); });
    return status;
}

} // namespace

int runReadKeysCommand(BatchSession &s)
{
    const QString output = s.requiredOption(QStringLiteral("--output"));
    if (output.isEmpty())
        return BatchUsageError;
    if (!s.identify())
        return BatchExchangeFailed;
    if (!openWithTable(s))
        return leave(s, BatchExchangeFailed);
    bool saved = false;
    s.run([&] { saved = s.form().keys->saveKeysTo(output); });
    return leave(s, saved ? BatchSuccess : BatchUsageError);
}

int runWriteKeysCommand(BatchSession &s)
{
    const QString input = s.requiredOption(QStringLiteral("--input"));
    if (input.isEmpty())
        return BatchUsageError;
    if (!QFileInfo(input).isReadable() || QFileInfo(input).isDir()) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1").arg(input));
        return BatchUsageError;
    }
    if (!s.identify())
        return BatchExchangeFailed;
    if (!openWithTable(s))
        return leave(s, BatchExchangeFailed);
    KeyProgramming &keys = *s.form().keys;
    bool loaded = false;
    s.run([&] { loaded = keys.loadKeysFrom(input); });
    if (!loaded)
        return leave(s, BatchUsageError);

    std::optional<KeyWriteOutcome> outcome;
    const auto c = QObject::connect(&keys, &KeyProgramming::writeFinished,
                                    [&outcome](KeyWriteOutcome o) { outcome = o; });
    const TimerIntervals &iv = s.form().options.intervals;
    const int limit = iv.keyWriteWaitMs + 2 * iv.keyStreamWaitMs + 3 * iv.responseTimeoutMs;
    const bool ended = s.run([&keys] { keys.writeKeys(); })
        && s.waitUntil([&outcome] { return outcome.has_value(); }, limit);
    QObject::disconnect(c);
    if (!ended)
        return leave(s, BatchExchangeFailed);
    if (*outcome == KeyWriteOutcome::Confirmed)
        return BatchSuccess;
    if (*outcome == KeyWriteOutcome::TimedOut)
        s.printError(QStringLiteral("zarven4-config: the controller did not answer the key table write"));
    return leave(s, BatchExchangeFailed);
}

} // namespace zarven
