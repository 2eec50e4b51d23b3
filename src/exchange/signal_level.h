#pragma once
// The signal level query: "Обновить" sends "Sg" to the connected controller
// and shows the "+CSQ:" reply on the gauge and the label.
//
// The query never blocks the window. After the command it polls the receive
// queue with a timer; whatever the first read takes, by the poll or by the
// port's own hand-over, whichever comes first, is sifted: bytes in front of
// the first start marker are thrown away (the controller may send unframed
// bytes before its reply), the rest goes to the framer. So a framed reply is
// shown whether it arrives before or after the first poll.

#include "exchange/exchange_core.h"

#include <QObject>

class QTimer;

namespace zarven {

enum class SignalOutcome {
    Shown,        // a level is on the gauge and the label
    NoService,    // "99": "нет связи"
    NoNumber,     // "+CSQ:" without a level: "нет сигнала"
    WrongReply,   // a reply without "+CSQ:": nothing shown
    TimedOut,     // no reply before responseTimer
    NoConnection, // no controller found, or its port will not open
    LineLost,     // the line was lost while the reply was awaited
};

class SignalLevelQuery : public QObject {
    Q_OBJECT
public:
    explicit SignalLevelQuery(ExchangeCore &core, QObject *parent = nullptr);

    // "Обновить".
    void startQuery();
    // The signal-level route (SessionState 15).
    void signalReply(const QByteArray &Str);
    // One poll of the receive queue.
    void pollTick();

    bool polling() const { return awaitingFirstRead_; }

    // What of a first read may reach the framer: everything from the first
    // start marker on, or, without one, a tail that may be the beginning of
    // a start marker split across reads. Nothing else.
    static QByteArray framedPart(const QByteArray &bytes, const QByteArray &packetStart);

signals:
    void queryFinished(SignalOutcome outcome);

private:
    void startPolling();
    void stopPolling();
    QByteArray takeFirstRead(const QByteArray &bytes);
    void setLabelColour(const QColor &colour);
    void showFailure(const QString &text);

    ExchangeCore &core_;
    const ExchangeWindow &w_;
    QTimer *pollTimer_ = nullptr;
    int pollsLeft_ = 0;
    bool awaitingFirstRead_ = false;
};

} // namespace zarven
