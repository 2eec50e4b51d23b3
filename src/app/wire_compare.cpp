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

void TForm1::wireCompare()
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

    menu_compare = new QAction(QStringLiteral("Сравнить с прибором"), menuExchange);
    menu_compare->setObjectName(QStringLiteral("menu_compare"));
    menu_verify = new QAction(QStringLiteral("Проверять после записи"), menuExchange);
    menu_verify->setObjectName(QStringLiteral("menu_verify"));
    menu_verify->setCheckable(true);
    menuExchange->insertAction(N15, menu_compare);
    menuExchange->insertAction(N15, menu_verify);

    menu_verify->setChecked(prefs.verifyAfterWrite());
    connect(menu_verify, &QAction::toggled, this, [this](bool on) { prefs.setVerifyAfterWrite(on); });
    settingsWrite->setAfterAcknowledgement([this](const QByteArray &image) {
        if (!verifiesAfterWrite())
            return false;
        settingsCompare->verifyAfterWrite(image);
        return true;
    });
    connect(menu_compare, &QAction::triggered, this, [this] { guarded([this] { settingsCompare->compareClick(); }); });
}

bool TForm1::verifiesAfterWrite() const
{
    return menu_verify->isChecked();
}

} // namespace zarven
