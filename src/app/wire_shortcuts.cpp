// The keyboard shortcuts of the exchanges, shown beside their menu items and
// in the tooltips of the bottom bar's buttons. Writing to the controller
// takes Shift as well, so that a slip of the hand does not start it.

#include "app/main_window.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace zarven {

void MainWindow::wireShortcuts()
{
    // "Обновить" has no menu item of its own in the designed menu; it gets
    // one beside the monitor, so that its key is shown like the others.
    signalRefreshAction = new QAction(QStringLiteral("Обновить уровень сигнала"), menuExchange);
    signalRefreshAction->setObjectName(QStringLiteral("menu_signal"));
    menuExchange->insertAction(monitorAction, signalRefreshAction);
    connect(signalRefreshAction, &QAction::triggered, signalRefreshButton, &QPushButton::click);

    const struct {
        QAction *action;
        QKeySequence keys;
        QPushButton *button;
    } shortcuts[] = {
        {connectAction, QKeySequence(Qt::CTRL | Qt::Key_L), connectButton},
        {readSettingsAction, QKeySequence(Qt::CTRL | Qt::Key_R), readSettingsButton},
        {writeSettingsAction, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), writeSettingsButton},
        {compareAction, QKeySequence(Qt::CTRL | Qt::Key_D), nullptr},
        {signalRefreshAction, QKeySequence(Qt::Key_F5), signalRefreshButton},
        {keyProgrammingAction, QKeySequence(Qt::CTRL | Qt::Key_K), keyProgrammingButton},
    };
    for (const auto &s : shortcuts) {
        s.action->setShortcut(s.keys);
        // Window-wide, also while the focus is in a settings box.
        s.action->setShortcutContext(Qt::WindowShortcut);
        if (s.button)
            s.button->setToolTip(s.keys.toString(QKeySequence::NativeText));
    }
}

} // namespace zarven
