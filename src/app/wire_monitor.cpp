// Wires the signal monitor into the window: "Непрерывно" beside "Обновить",
// in the "Обмен с устройством" menu and in the window "Антенна", which the
// same action opens. The three stay ticked together while the monitor runs;
// the interval is remembered between runs.

#include "app/antenna_window.h"
#include "app/main_window.h"
#include "config_file/file_dialogs.h"
#include "exchange/device_exchange.h"
#include "exchange/signal_monitor.h"
#include "translate/translation.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

namespace zarven {

void MainWindow::wireMonitor()
{
    signalMonitor = new SignalMonitor(exchange->core, exchange->signalLevel, this);
    signalMonitor->setIntervalSeconds(prefs.monitorInterval());
    // No "Sg" goes out behind a box: the exchange that showed it may still
    // purge and close the port when it is answered.
    signalMonitor->setReadyCheck([] { return QApplication::activeModalWidget() == nullptr; });

    monitorButton = new QPushButton(QStringLiteral("Непрерывно"), bottomBar);
    monitorButton->setObjectName(QStringLiteral("Button_Monitor"));
    monitorButton->setCheckable(true);
    monitorButton->setGeometry(496, 2, 100, 20);
    monitorAction = new QAction(QStringLiteral("Непрерывно"), menuExchange);
    monitorAction->setObjectName(QStringLiteral("menu_monitor"));
    monitorAction->setCheckable(true);
    menuExchange->addAction(monitorAction);

    FileKind kind;
    kind.filter = QStringLiteral("Таблицы CSV (*.csv)");
    kind.extension = QStringLiteral("csv");
    kind.translate = [this](const QString &text) { return inLanguage(text); };
    kind.lastFolder = [this] { return prefs.lastFolder(QStringLiteral("csv")); };
    kind.rememberFolder = [this](const QString &folder) { prefs.setLastFolder(QStringLiteral("csv"), folder); };
    antennaWindow = new AntennaWindow(
        *signalMonitor, [this](const QString &russian) { return captionInCurrentLanguage(shared, russian); },
        std::make_unique<QtFileDialogs>(this, kind), this);

    auto showTicked = [this](bool on) {
        for (QAbstractButton *b : {static_cast<QAbstractButton *>(monitorButton),
                                   static_cast<QAbstractButton *>(antennaWindow->monitorButton)}) {
            const QSignalBlocker block(b);
            b->setChecked(on);
        }
        const QSignalBlocker block(monitorAction);
        monitorAction->setChecked(on);
    };
    auto toggle = [this, showTicked](bool on) {
        guarded([this, on] {
            if (!on) {
                signalMonitor->stop();
                return;
            }
            antennaWindow->show();
            antennaWindow->raise();
            signalMonitor->start();
        });
        showTicked(signalMonitor->running());
    };
    connect(monitorButton, &QPushButton::toggled, this, toggle);
    connect(antennaWindow->monitorButton, &QPushButton::toggled, this, toggle);
    connect(monitorAction, &QAction::toggled, this, toggle);
    connect(signalMonitor, &SignalMonitor::stopped, this, [showTicked] { showTicked(false); });

    connect(antennaWindow->intervalBox, &QSpinBox::valueChanged, this,
            [this](int seconds) { prefs.setMonitorInterval(seconds); });
    connect(antennaWindow->saveCsvButton, &QPushButton::clicked, this,
            [this] { guarded([this] { antennaWindow->saveCsv(); }); });
}

} // namespace zarven
