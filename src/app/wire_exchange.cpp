// Wires the device exchange into the window: the framer's packet event, the
// port's receiver, the exchange timers, "Соединить" and "Обновить".

#include "app/main_window.h"
#include "exchange/device_exchange.h"
#include "translate/translation.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace zarven {

void MainWindow::wireExchange()
{
    ExchangeWindow w;
    w.window = this;
    w.shared = &shared;
    w.port = port;
    w.framer = &framer;
    w.log = &eventLog;
    w.boxes = &boxes;
    w.scanTimer = scanTimer;
    w.responseTimer = responseTimer;
    w.idleCloseTimer = idleCloseTimer;
    w.portList = portList;
    w.connectButton = connectButton;
    w.statusPanel1 = statusPanels[1];
    w.statusWarning = statusWarning;
    w.signalGauge = signalGauge;
    w.signalLabel = signalLabel;
    w.intervals = options.intervals;
    w.extraPorts = options.extraPorts;
    w.includeSystemPorts = options.includeSystemPorts;
    w.translate = [this](const QString &text) { return inLanguage(text); };
    w.translateStatus = [this](const QString &text) { return statusTextInCurrentLanguage(shared, text); };
    w.caption = [this](const QString &russian) { return captionInCurrentLanguage(shared, russian); };
    w.guarded = [this](const std::function<void()> &handler) { guarded(handler); };
    exchange = new DeviceExchange(w, this);

    // An error of a packet route is not caught here: it travels back into the
    // port's hand-over, which reports it and stops reception.
    framer.setOnPacket([this](const QByteArray &Str) {
        port->trace().record(PacketTrace::Direction::In, shared.framed(Str));
        exchange->core.onPacket(Str);
    });
    port->setReceiver([this](const QByteArray &chunk) { exchange->core.received(chunk); });

    auto connectTimer = [this](QTimer *timer, auto handler) {
        connect(timer, &QTimer::timeout, this, [this, handler] { guarded(handler); });
    };
    connectTimer(scanTimer, [this] { exchange->scan.tryNextPort(); });
    connectTimer(responseTimer, [this] { exchange->core.onResponseTimeout(); });
    connectTimer(idleCloseTimer, [this] { exchange->core.onIdleClose(); });

    // The busy cursor while a scan runs or an exchange waits for its reply.
    // The state is sampled rather than signalled: every sender and handler
    // starts and stops the timers its own way.
    auto *busyWatch = new QTimer(this);
    busyWatch->setObjectName(QStringLiteral("busyCursorWatch"));
    connect(busyWatch, &QTimer::timeout, this, [this] {
        const bool busy = scanTimer->isActive() || responseTimer->isActive();
        if (busy != busyCursor_) {
            busyCursor_ = busy;
            if (busy)
                QApplication::setOverrideCursor(Qt::BusyCursor);
            else
                QApplication::restoreOverrideCursor();
        }
    });
    busyWatch->start(100);

    auto scan = [this] { guarded([this] { exchange->scan.startScan(); }); };
    connect(connectButton, &QPushButton::clicked, this, scan);
    connect(connectAction, &QAction::triggered, this, scan);
    connect(signalRefreshButton, &QPushButton::clicked, this,
            [this] { guarded([this] { exchange->signalLevel.startQuery(); }); });

    wireDeviceWatch();
    wireSupport();
    // The monitor repeats the query; it lives beside it.
    wireMonitor();
}

} // namespace zarven
