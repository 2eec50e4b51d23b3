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

void TForm1::wireKeys()
{
    keyPanel = std::make_unique<KeyPanel>(Panel_key, Panel7);
    QList<QWidget *> locked;
    for (const char *name : {"Panel_in1", "Panel_in2", "Panel_td1", "Panel4", "Panel5"})
        if (auto *panel = findChild<QWidget *>(QLatin1String(name)))
            locked << panel;
    locked << Panel6;
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
    on(BitBtn4, &QPushButton::clicked, [this] { keys->BitBtn4Click(); });
    on(N15, &QAction::triggered, [this] { keys->BitBtn4Click(); });
    on(keyPanel->BitBtn7, &QPushButton::clicked, [this] { keys->BitBtn7Click(); });
    on(keyPanel->BitBtn6, &QPushButton::clicked, [this] { keys->BitBtn6Click(); });
    on(keyPanel->BitBtn5, &QPushButton::clicked, [this] { keys->BitBtn5Click(); });
    on(keyPanel->BitBtn8, &QPushButton::clicked, [this] { keys->BitBtn8Click(); });
    on(keyPanel->BitBtn9, &QPushButton::clicked, [this] { keys->BitBtn9Click(); });
    for (int n = 1; n <= kKeyRowCount; ++n)
        on(keyPanel->BB_ReadKey[n - 1], &QPushButton::clicked, [this, n] { keys->Edit_Prog_Key(n); });
}

} // namespace zarven
