// The two timers of every exchange: responseTimer, the response time-out, and
// idleCloseTimer, the idle close; and the key-wait cancel that the time-out runs.

#include "exchange/exchange_core.h"

#include <QTimer>
#include <QWidget>

namespace zarven {

namespace {

const TimeoutEntry kTimeouts[] = {
    {ssReadSettings, "Превышен период ожидания ответа устройства.", false},
    {ssWriteSettings, "НЕТ ответа о окончании записи в устройство", false},
    {ssReadKey, "Превышен период ожидания ответа устройства.\r\nНет информации о ключе.", true},
    {ssPrepareKeyWrite, "НЕТ ответа о готовности к чтению ключей", true},
    {ssSignalLevel, "НЕТ ответа о уровне сигнала.", true},
};

} // namespace

const TimeoutEntry *timeoutEntryFor(int state)
{
    for (const auto &e : kTimeouts)
        if (e.state == state)
            return &e;
    return nullptr;
}

void ExchangeCore::onResponseTimeout()
{
    const int s = state();
    setState(ssIdle);
    const TimeoutEntry *entry = timeoutEntryFor(s);
    if (!entry) {
        startIfStopped(w_.idleCloseTimer);
        w_.responseTimer->stop();
        emit responseTimedOut(s);
        return;
    }
    // responseTimer keeps running while the box is open: if nobody answers, its
    // next firing finds state 11, takes the silent branch above and lets the
    // idle close shut the port behind the box. Qt does not deliver a timer
    // again while its handler is still running (here: inside the box), so
    // the timer is restarted; it fires one full interval later, as it would
    // have anyway.
    if (w_.responseTimer->isActive())
        w_.responseTimer->start();
    if (w_.boxes->confirm(QString::fromUtf8(entry->message))) {
        setState(ssIdle);
        startIfStopped(w_.idleCloseTimer);
        w_.responseTimer->stop();
        if (entry->keyWaitCancel)
            keyWaitCancel();
    }
    emit responseTimedOut(s);
}

void ExchangeCore::onIdleClose()
{
    // Stopped first: the idle close fires at most once per start.
    w_.idleCloseTimer->stop();
    if (state() == ssIdle && w_.port->Connected()) {
        setState(ssClosed);
        // Safe also while a packet handler's box is open inside a hand-over:
        // the port never waits for its reception to finish.
        w_.port->ClosePort();
    }
}

void ExchangeCore::keyWaitCancel()
{
    // The key prompt and the key panel belong to the key programming mode;
    // they are touched only when the window has them.
    if (auto *prompt = w_.window ? w_.window->findChild<QWidget *>(QStringLiteral("Panel7")) : nullptr) {
        prompt->setEnabled(false);
        prompt->setVisible(false);
    }
    if (auto *keyPanel = w_.window ? w_.window->findChild<QWidget *>(QStringLiteral("Panel_key")) : nullptr)
        keyPanel->setEnabled(true);
    setState(ssIdle);
    w_.responseTimer->stop();
    // The idle close may already have closed the port while a time-out box
    // stayed open; there is nothing to purge then.
    if (w_.port->Connected())
        w_.port->PurgePort(true, true);
    startIfStopped(w_.idleCloseTimer);
}

} // namespace zarven
