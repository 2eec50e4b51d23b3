// Wires the journal into the window: the store in the program's folder, an
// entry for every read of the controller's settings, the write through the
// journal with its preview ("Показывать изменения перед записью", remembered),
// the journal window ("Файл" → "Журнал", Ctrl+J) and "Сравнить с файлом…".
// Batch runs use the same window, so their reads and writes are journalled
// the same way.

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "config_file/config_writer.h"
#include "config_file/file_dialogs.h"
#include "core/errors.h"
#include "editor/settings_panels.h"
#include "exchange/device_exchange.h"
#include "journal/journal_recorder.h"
#include "journal/journal_text.h"
#include "journal/journal_window.h"
#include "journal/journalled_write.h"
#include "journal/settings_diff.h"
#include "settings/settings_read.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

namespace zarven {

namespace {

QString readResult(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::Decoded:
        return QString::fromUtf8(journal_result::kOk);
    case ReadOutcome::Incomplete:
        return QString::fromUtf8(journal_result::kIncomplete);
    case ReadOutcome::MemoryEmpty:
        return QString::fromUtf8(journal_result::kEmptyMemory);
    case ReadOutcome::TimedOut:
        return QString::fromUtf8(journal_result::kNoReply);
    case ReadOutcome::NoConnection:
        break;
    }
    return {};
}

// The lines of a comparison shown in one box, kept to a screenful.
QString boxText(QStringList lines)
{
    constexpr int kLines = 40;
    if (lines.size() > kLines) {
        const QString last = lines.last();
        lines = lines.mid(0, kLines - 2);
        lines << QStringLiteral("…") << last;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void MainWindow::useWindowWriteChecks()
{
    journalledWrite->setVerifying([this] { return verifiesAfterWrite(); });
    journalledWrite->setPreview([this](const WritePreview &preview) {
        if (!previewAction->isChecked())
            return true;
        const TextTranslator tr = [this](const QString &text) { return inLanguage(text); };
        return boxes.review(inLanguage(QStringLiteral("Запись изменит в приборе:")), writePreviewLines(preview, tr),
                            inLanguage(QStringLiteral("Записать")));
    });
}

void MainWindow::wireJournal()
{
    JournalSource source;
    source.port = [this] { return shared.ConnectedPort; };
    source.version = [this] { return exchange->scan.connectedVersion(); };
    source.site = [this] { return seriesSite.isEmpty() ? configFiles->lastFile() : seriesSite; };
    journal = new JournalRecorder(
        [this] { return shared.programFile(QStringLiteral("journal.sqlite")); }, std::move(source),
        [this](const QString &why) {
            boxes.plain(inLanguage(QStringLiteral("Журнал чтений и записей недоступен, программа работает без него:"))
                        + QLatin1Char('\n') + why);
        },
        this);

    connect(settingsRead, &SettingsRead::readFinished, this, [this](ReadOutcome outcome) {
        if (outcome == ReadOutcome::NoConnection)
            return; // nothing was sent
        ControlAccess window(*panels);
        // A cut-short reply is kept with what it did set, its result saying
        // so.
        const bool withSettings = outcome == ReadOutcome::Decoded || outcome == ReadOutcome::Incomplete;
        journal->record(JournalOperation::Read, withSettings ? &window : nullptr, {}, -1, readResult(outcome));
    });

    journalledWrite = new JournalledWrite(exchange->core, *settingsRead, *settingsWrite, *settingsCompare,
                                          ControlAccess(*panels), *journal, this);
    previewAction = new QAction(QStringLiteral("Показывать изменения перед записью"), menuExchange);
    previewAction->setObjectName(QStringLiteral("menu_preview"));
    previewAction->setCheckable(true);
    previewAction->setChecked(prefs.previewBeforeWrite());
    menuExchange->insertAction(keyProgrammingAction, previewAction);
    connect(previewAction, &QAction::toggled, this, [this](bool on) { prefs.setPreviewBeforeWrite(on); });
    useWindowWriteChecks();
    auto write = [this] { guarded([this] { journalledWrite->start(); }); };
    connect(writeSettingsButton, &QPushButton::clicked, this, write);
    connect(writeSettingsAction, &QAction::triggered, this, write);

    // "Сравнить с файлом…": the window against a configuration file.
    compareFileAction = new QAction(QStringLiteral("Сравнить с файлом…"), menuFile);
    compareFileAction->setObjectName(QStringLiteral("menu_compare_file"));
    journalAction = new QAction(QStringLiteral("Журнал"), menuFile);
    journalAction->setObjectName(QStringLiteral("menu_journal"));
    journalAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    menuFile->insertAction(exitAction, compareFileAction);
    menuFile->insertAction(exitAction, journalAction);
    menuFile->insertSeparator(exitAction);
    connect(compareFileAction, &QAction::triggered, this, [this] { guarded([this] { compareWithFile(); }); });
    connect(journalAction, &QAction::triggered, this, [this] { guarded([this] { showJournal(); }); });
}

QStringList MainWindow::compareWithWindow(const QByteArray &other, const QString &label)
{
    const TextTranslator tr = [this](const QString &text) { return inLanguage(text); };
    const QString window = inLanguage(QStringLiteral("окно"));
    const SettingsDiff diff =
        diffConfigurations(encodeConfiguration(ControlAccess(*panels), sessionStamp()), window, other, label);
    if (!diff.ok())
        return {diff.error};
    return sideBySideReport(diff.differences, window, label, tr);
}

void MainWindow::compareWithFile()
{
    FileDialogs *dialogs = configFiles->fileDialogs();
    const QString path = dialogs ? dialogs->openFileName() : QString();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        boxes.plain(inLanguage(QStringLiteral("Ошибка чтения файла")));
        return;
    }
    boxes.plain(boxText(compareWithWindow(file.readAll(), QFileInfo(path).fileName())));
}

void MainWindow::showJournal()
{
    JournalStore &store = journal->store();
    if (!store.isOpen()) {
        boxes.plain(inLanguage(QStringLiteral("Журнал чтений и записей недоступен, программа работает без него:"))
                    + QLatin1Char('\n') + store.lastError());
        return;
    }
    if (journalWindow) {
        journalWindow->reload();
        journalWindow->show();
        journalWindow->raise();
        return;
    }
    const TextTranslator tr = [this](const QString &text) { return inLanguage(text); };
    auto entryLabel = [tr](const JournalEntry &e) {
        return QStringLiteral("№%1 %2").arg(e.id).arg(e.time.toString(QStringLiteral("dd.MM.yy HH:mm")));
    };
    auto loadEntry = [this, entryLabel](const JournalEntry &e) {
        if (e.settings.isEmpty()) {
            boxes.plain(inLanguage(QStringLiteral("В этой записи журнала нет настроек.")));
            return false;
        }
        return settleUnsavedEdits() && configFiles->loadContent(e.settings, entryLabel(e));
    };
    JournalWindowActions actions;
    actions.openInWindow = [this, loadEntry](const JournalEntry &e) { guarded([&] { loadEntry(e); }); };
    actions.exportEntry = [this](const JournalEntry &e) {
        guarded([&] {
            if (e.settings.isEmpty()) {
                boxes.plain(inLanguage(QStringLiteral("В этой записи журнала нет настроек.")));
                return;
            }
            FileDialogs *dialogs = configFiles->fileDialogs();
            const QString path = dialogs ? dialogs->saveFileName() : QString();
            if (!path.isEmpty())
                writeFileAtomically(path, e.settings);
        });
    };
    actions.compareWithWindow = [this, entryLabel](const JournalEntry &e) {
        guarded([&] { boxes.plain(boxText(compareWithWindow(e.settings, entryLabel(e)))); });
    };
    actions.compareEntries = [this, tr, entryLabel](const JournalEntry &a, const JournalEntry &b) {
        guarded([&] {
            const SettingsDiff diff = diffConfigurations(a.settings, entryLabel(a), b.settings, entryLabel(b));
            boxes.plain(boxText(diff.ok() ? sideBySideReport(diff.differences, entryLabel(a), entryLabel(b), tr)
                                          : QStringList{diff.error}));
        });
    };
    actions.compareWithController = [this, tr, entryLabel](const JournalEntry &e) {
        guarded([&] {
            auto *snapshot = new ControllerSnapshot(exchange->core, *settingsRead, this);
            const QByteArray entrySettings = e.settings;
            const QString label = entryLabel(e);
            connect(snapshot, &ControllerSnapshot::finished, this,
                    [this, snapshot, entrySettings, label, tr](ControllerSnapshot::Outcome outcome) {
                        snapshot->deleteLater();
                        if (outcome != ControllerSnapshot::Outcome::Read) {
                            if (outcome == ControllerSnapshot::Outcome::EmptyMemory)
                                boxes.plain(inLanguage(QStringLiteral("Память прибора чиста: сравнивать не с чем.")));
                            return;
                        }
                        const QString device = inLanguage(QStringLiteral("прибор"));
                        const SettingsDiff diff = diffConfigurations(
                            entrySettings, label, encodeConfiguration(snapshot->settings().controls(), sessionStamp()),
                            device);
                        boxes.plain(boxText(diff.ok() ? sideBySideReport(diff.differences, label, device, tr)
                                                      : QStringList{diff.error}));
                    });
            snapshot->start();
        });
    };
    actions.writeBack = [this, loadEntry](const JournalEntry &e) {
        guarded([&] {
            if (loadEntry(e))
                journalledWrite->start();
        });
    };
    journalWindow = new JournalWindow(store, std::move(actions), tr, this);
    connect(journal, &JournalRecorder::entryAdded, journalWindow, &JournalWindow::reload);
    journalWindow->show();
}

} // namespace zarven
