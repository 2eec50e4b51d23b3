// Wires the key programming mode into the window: its panel and prompt, the
// two ways of opening it ("Программирование ключей ТМ", "Программировать
// ключи") and the panel's buttons.

#include "app/main_window.h"
#include "config_file/file_dialogs.h"
#include "exchange/device_exchange.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>

namespace zarven {

void MainWindow::wireKeys()
{
    keyPanel = std::make_unique<KeyPanel>(keyFrame, keyPrompt);
    keyPanel->setCaptionTranslation([this](const QString &russian) { return inLanguage(russian); });
    QList<QWidget *> locked;
    for (const char *name : {"Panel_in1", "Panel_in2", "Panel_td1", "Panel4", "Panel5"})
        if (auto *panel = findChild<QWidget *>(QLatin1String(name)))
            locked << panel;
    locked << bottomBar;
    // Key files as configuration files: their filter and all files, the
    // last folder used, ".key" added to a name without an extension (the
    // save adds it to any other name not ending with it).
    FileKind kind;
    kind.filter = QStringLiteral("Ключи ЗАРВЕН-4 (*.key)");
    kind.extension = QStringLiteral("key");
    kind.translate = [this](const QString &text) { return inLanguage(text); };
    kind.lastFolder = [this] { return prefs.lastFolder(QStringLiteral("key")); };
    kind.rememberFolder = [this](const QString &folder) { prefs.setLastFolder(QStringLiteral("key"), folder); };
    keys = new KeyProgramming(exchange->core, *keyPanel, locked, std::make_unique<QtFileDialogs>(this, kind), this);

    auto on = [this](auto *sender, auto signal, auto handler) {
        connect(sender, signal, this, [this, handler] { guarded(handler); });
    };
    on(keyProgrammingButton, &QPushButton::clicked, [this] { keys->openKeyMode(); });
    on(keyProgrammingAction, &QAction::triggered, [this] { keys->openKeyMode(); });
    on(keyPanel->closeKeysButton, &QPushButton::clicked, [this] { keys->closeKeyMode(); });
    on(keyPanel->writeKeysButton, &QPushButton::clicked, [this] { keys->writeKeys(); });
    on(keyPanel->keyWaitCancelButton, &QPushButton::clicked, [this] { keys->cancelKeyWait(); });
    on(keyPanel->saveKeyFileButton, &QPushButton::clicked, [this] { keys->saveKeysToFile(); });
    on(keyPanel->loadKeyFileButton, &QPushButton::clicked, [this] { keys->loadKeysFromFile(); });
    for (int n = 1; n <= kKeyRowCount; ++n)
        on(keyPanel->readKeyButtons[n - 1], &QPushButton::clicked, [this, n] { keys->readKey(n); });
}

} // namespace zarven
