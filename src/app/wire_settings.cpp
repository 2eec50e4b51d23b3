// Wires the settings exchanges into the window: "Запись настроек в память
// прибора" and "Записать параметры" write the settings, "Чтение настроек из
// памяти прибора" and "Считать параметры" read them; the read keeps its
// backup through the configuration save and load in backup mode.

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "editor/settings_panels.h"
#include "exchange/device_exchange.h"
#include "settings/settings_read.h"
#include "settings/settings_write.h"

#include <QAction>
#include <QPushButton>

namespace zarven {

void MainWindow::wireSettings()
{
    settingsWrite = new SettingsWrite(exchange->core, ControlAccess(*panels), this);

    SettingsReadWindow readWindow { ControlAccess(*panels), {}, {} };
    readWindow.saveBackup = [this] {
        shared.UseBackupFile = true;
        configFiles->saveChosenFile();
    };
    // The restore runs inside the packet event; a file that does not load is
    // reported here so that the exchange still ends in order.
    readWindow.restoreBackup = [this] {
        guarded([this] {
            shared.UseBackupFile = true;
            configFiles->loadChosenFile();
        });
    };
    settingsRead = new SettingsRead(exchange->core, std::move(readWindow), this);

    // The write button and menu item go through the journal's write
    // (wire_journal.cpp): the controller's settings are read and journalled
    // first, and the preview shows what the write changes.
    auto read = [this] { guarded([this] { settingsRead->readSettings(); }); };
    connect(readSettingsButton, &QPushButton::clicked, this, read);
    connect(readSettingsAction, &QAction::triggered, this, read);
    connect(settingsRead, &SettingsRead::readFinished, this, [this](ReadOutcome outcome) {
        // A reply without settings left the window reset or restored from
        // the backup: no longer the controller's settings.
        if (outcome == ReadOutcome::Decoded || outcome == ReadOutcome::Incomplete)
            settingsWereRead(shared.ConnectedPort);
        else if (outcome == ReadOutcome::MemoryEmpty)
            settingsWereRead(QString());
    });
}

} // namespace zarven
