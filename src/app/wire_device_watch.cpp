// Wires the plugged adapters into the window: the device watch over the
// options' device folder, the checkable "Подключаться автоматически" of the
// "Обмен с устройством" menu (remembered, on by default) and the status bar
// text that says what the window does with a new port.

#include "app/auto_connect.h"
#include "app/main_window.h"
#include "serial/device_watch.h"
#include "translate/translation.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace zarven {

void MainWindow::wireDeviceWatch()
{
    autoConnectAction = new QAction(QStringLiteral("Подключаться автоматически"), menuExchange);
    autoConnectAction->setObjectName(QStringLiteral("menu_autoconnect"));
    autoConnectAction->setCheckable(true);
    autoConnectAction->setChecked(prefs.autoConnect());
    menuExchange->insertAction(writeSettingsAction, autoConnectAction);
    connect(autoConnectAction, &QAction::toggled, this, [this](bool on) { prefs.setAutoConnect(on); });

    if (options.deviceFolder.isEmpty())
        return;
    auto *watch = new DeviceWatch(options.deviceFolder, this);
    auto *status = new QLabel(statusBar());
    status->setObjectName(QStringLiteral("StatusWatch"));
    keepOutOfTranslation(status);
    statusBar()->addWidget(status, 1);
    autoConnect = new AutoConnect(*this, watch, status);
}

} // namespace zarven
