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

void TForm1::wireExchange()
{
    ExchangeWindow w;
    w.window = this;
    w.shared = &shared;
    w.port = ComPort1;
    w.framer = &ComDataPacket1;
    w.log = &Memo1;
    w.boxes = &boxes;
    w.Timer1 = Timer1;
    w.Timer3 = Timer3;
    w.Timer4 = Timer4;
    w.ComboBox1 = ComboBox1;
    w.BitBtn3 = BitBtn3;
    w.statusPanel1 = statusPanels[1];
    w.Gauge_Signal = Gauge_Signal;
    w.Label_Signal = Label_Signal;
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
    ComDataPacket1.setOnPacket([this](const QByteArray &Str) { exchange->core.ComDataPacket1Packet(Str); });
    ComPort1->setReceiver([this](const QByteArray &chunk) { exchange->core.received(chunk); });

    auto connectTimer = [this](QTimer *timer, auto handler) {
        connect(timer, &QTimer::timeout, this, [this, handler] { guarded(handler); });
    };
    connectTimer(Timer1, [this] { exchange->scan.Timer1Timer(); });
    connectTimer(Timer3, [this] { exchange->core.Timer3Timer(); });
    connectTimer(Timer4, [this] { exchange->core.Timer4Timer(); });

    // The busy cursor while a scan runs or an exchange waits for its reply.
    // The state is sampled rather than signalled: every sender and handler
    // starts and stops the timers its own way.
    auto *busyWatch = new QTimer(this);
    busyWatch->setObjectName(QStringLiteral("busyCursorWatch"));
    connect(busyWatch, &QTimer::timeout, this, [this] {
        const bool busy = Timer1->isActive() || Timer3->isActive();
        if (busy != busyCursor_) {
            busyCursor_ = busy;
            if (busy)
                QApplication::setOverrideCursor(Qt::BusyCursor);
            else
                QApplication::restoreOverrideCursor();
        }
    });
    busyWatch->start(100);

    auto scan = [this] { guarded([this] { exchange->scan.BitBtn3Click(); }); };
    connect(BitBtn3, &QPushButton::clicked, this, scan);
    connect(N8, &QAction::triggered, this, scan);
    connect(Button_YrSignal, &QPushButton::clicked, this,
            [this] { guarded([this] { exchange->signalLevel.Button_YrSignalClick(); }); });
}

} // namespace zarven
