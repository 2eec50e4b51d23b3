#pragma once
// The device exchange of the window: the state machine with its timers, the
// controller scan and the signal level query, built over one ExchangeWindow.
// Later exchanges (settings, keys) register their routes on `core` and send
// through core.sendCommand.

#include "exchange/exchange_core.h"
#include "exchange/identification.h"
#include "exchange/signal_level.h"

#include <QObject>

namespace zarven {

class DeviceExchange : public QObject {
    Q_OBJECT
public:
    DeviceExchange(const ExchangeWindow &w, QObject *parent = nullptr);

    ExchangeCore core;
    ControllerScan scan;
    SignalLevelQuery signalLevel;
};

} // namespace zarven
