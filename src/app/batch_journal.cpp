#include "app/batch_journal.h"

#include "app/batch_mode.h"
#include "app/main_window.h"
#include "journal/journal_recorder.h"
#include "journal/journal_text.h"
#include "journal/settings_diff.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zarven {

namespace {

bool readFile(BatchSession &s, const QString &path, QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1: %2").arg(path, f.errorString()));
        return false;
    }
    content = f.readAll();
    return true;
}

} // namespace

int runDiffCommand(BatchSession &s)
{
    const QString a = s.files().at(0);
    const QString b = s.files().at(1);
    QByteArray contentA;
    QByteArray contentB;
    if (!readFile(s, a, contentA) || !readFile(s, b, contentB))
        return BatchUsageError;
    const QString labelA = QFileInfo(a).fileName();
    QString labelB = QFileInfo(b).fileName();
    if (labelB == labelA)
        labelB = b;
    const SettingsDiff diff = diffConfigurations(contentA, labelA, contentB, labelB);
    if (!diff.ok()) {
        s.printError(QStringLiteral("zarven4-config: ") + diff.error);
        return BatchUsageError;
    }
    const TextTranslator tr = [&s](const QString &text) { return s.form().inLanguage(text); };
    for (const QString &line : sideBySideReport(diff.differences, labelA, labelB, tr))
        s.print(line);
    return diff.differences.isEmpty() ? BatchSuccess : BatchDifferent;
}

int runJournalCommand(BatchSession &s)
{
    JournalStore &store = s.form().journal->store();
    if (!store.isOpen()) {
        s.printError(QStringLiteral("zarven4-config: the journal cannot be opened: ") + store.lastError());
        return BatchUsageError;
    }
    const TextTranslator tr = [&s](const QString &text) { return s.form().inLanguage(text); };
    const QString exportId = s.option(QStringLiteral("--export"));
    if (!exportId.isEmpty()) {
        const QString output = s.requiredOption(QStringLiteral("--output"));
        if (output.isEmpty())
            return BatchUsageError;
        bool ok = false;
        const qint64 id = exportId.toLongLong(&ok);
        const std::optional<JournalEntry> e = ok ? store.entry(id) : std::nullopt;
        if (!e) {
            s.printError(QStringLiteral("zarven4-config: the journal has no entry %1").arg(exportId));
            return BatchUsageError;
        }
        if (e->settings.isEmpty()) {
            s.printError(QStringLiteral("zarven4-config: entry %1 holds no settings (%2)").arg(exportId, e->result));
            return BatchUsageError;
        }
        QSaveFile out(output);
        if (!out.open(QIODevice::WriteOnly) || out.write(e->settings) != e->settings.size() || !out.commit()) {
            s.printError(QStringLiteral("zarven4-config: cannot write %1: %2").arg(output, out.errorString()));
            return BatchUsageError;
        }
        return BatchSuccess;
    }
    JournalQuery query;
    query.search = s.option(QStringLiteral("--site"));
    const QString limit = s.option(QStringLiteral("--limit"));
    if (!limit.isEmpty()) {
        bool ok = false;
        query.limit = limit.toInt(&ok);
        if (!ok || query.limit < 0) {
            s.printError(QStringLiteral("zarven4-config: --limit wants a number of entries, got \"%1\"").arg(limit));
            return BatchUsageError;
        }
    }
    for (const JournalEntry &e : store.entries(query))
        s.print(journalEntryLine(e, tr));
    return BatchSuccess;
}

} // namespace zarven
