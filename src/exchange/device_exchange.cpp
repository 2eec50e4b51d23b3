#include "exchange/device_exchange.h"

namespace zarven {

DeviceExchange::DeviceExchange(const ExchangeWindow &w, QObject *parent)
    : QObject(parent), core(w), scan(core), signalLevel(core)
{
}

} // namespace zarven
