#pragma once
// A main window for exchange tests: scripted message boxes, a temporary
// program folder, only the given device paths in the port list, and timer
// intervals short enough that a ten-second time-out takes a fraction of a
// second.

#include "app/main_window.h"
#include "core/message_boxes.h"
#include "exchange/device_exchange.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace zarven::test {

class PtyPair;

// Reads n bytes from the far end of a pseudo-terminal while the event loop
// runs, so that the window's timers (a scan step) can write them meanwhile.
QByteArray readWhileRunning(PtyPair &pty, qsizetype n, int timeoutMs);

// The intervals of exchange tests: the real ones' proportions, shrunk.
TimerIntervals fastIntervals();

class ExchangeFixture {
public:
    explicit ExchangeFixture(const QStringList &ports = {}, const TimerIntervals &intervals = fastIntervals());
    ~ExchangeFixture();

    MainWindow &form() { return *form_; }
    DeviceExchange &exchange() { return *form_->exchange; }
    ExchangeCore &core() { return form_->exchange->core; }
    int state() const { return form_->shared.SessionState; }
    const TimerIntervals &intervals() const { return form_->options.intervals; }

    // Hands a packet to the window as the framer would after receiving it
    // framed.
    void deliver(const QByteArray &content);
    // The log lines added since the window was made.
    QStringList log() const { return form_->eventLog.textLines(); }

    ScriptedMessageBoxes boxes;
    QTemporaryDir dir;

private:
    std::unique_ptr<MainWindow> form_;
};

} // namespace zarven::test
