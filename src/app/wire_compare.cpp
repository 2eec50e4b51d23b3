// Wires the comparison with the controller into the window: "Сравнить с
// прибором" and the checkable "Проверять после записи" of the "Обмен с
// устройством" menu. The check's state is remembered in the preferences file
// between runs; it starts off. While it is on, a write acknowledged with "COK"
// goes on into the check instead of its success box.

#include "app/main_window.h"
#include "exchange/device_exchange.h"
#include "settings/differences_dialog.h"
#include "settings/settings_compare.h"
#include "settings/settings_write.h"

#include <QAction>
#include <QMenu>

namespace zarven {

void MainWindow::wireCompare()
{
    settingsCompare = new SettingsCompare(exchange->core, *settingsRead, ControlAccess(*panels), this);
    settingsCompare->setPresenter([this](const CompareReport &report) {
        auto *dialog = new DifferencesDialog(
            report, [this](const QString &text) { return settingsCompare->translate(text); }, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // Window-modal but not blocking: the exchange has ended and the port
        // closes behind the dialog.
        dialog->open();
    });

    compareAction = new QAction(QStringLiteral("Сравнить с прибором"), menuExchange);
    compareAction->setObjectName(QStringLiteral("menu_compare"));
    verifyAfterWriteAction = new QAction(QStringLiteral("Проверять после записи"), menuExchange);
    verifyAfterWriteAction->setObjectName(QStringLiteral("menu_verify"));
    verifyAfterWriteAction->setCheckable(true);
    menuExchange->insertAction(keyProgrammingAction, compareAction);
    menuExchange->insertAction(keyProgrammingAction, verifyAfterWriteAction);

    verifyAfterWriteAction->setChecked(prefs.verifyAfterWrite());
    connect(verifyAfterWriteAction, &QAction::toggled, this, [this](bool on) { prefs.setVerifyAfterWrite(on); });
    settingsWrite->setAfterAcknowledgement([this](const QByteArray &image) {
        if (!verifiesAfterWrite())
            return false;
        settingsCompare->verifyAfterWrite(image);
        return true;
    });
    connect(compareAction, &QAction::triggered, this, [this] { guarded([this] { settingsCompare->compareClick(); }); });
}

bool MainWindow::verifiesAfterWrite() const
{
    return verifyAfterWriteAction->isChecked();
}

} // namespace zarven
