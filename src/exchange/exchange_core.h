#pragma once
// The exchange state machine. The tool and the controller talk in strict
// turns: a sender writes one framed command and sets SessionState to the
// reply it waits for; every packet the framer cuts goes through onPacket(),
// which logs it and hands it to the route registered for the current state.
// The response timer ends an exchange whose reply does not come; the idle
// close timer closes the port one second after an exchange has ended.
//
// Adding the reply handling of another exchange is one line:
//     core.setRoute(ssReadSettings, [&](const QByteArray &Str) { ... });
//
// A line that the port reports lost ends the exchange waiting on it at once
// (lineLost()): no time-out is waited for, one message says why, and the
// modules that keep context for the exchange hear connectionLost().

#include "exchange/exchange_window.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

namespace zarven {

// One command as a sender sends it, with the messages it shows when there is
// no line to send it on.
struct SendRequest {
    QByteArray command;        // without the markers
    int state = ssIdle;        // the reply the window then waits for
    // Shown when ConnectedPort is empty, and by default when the port will
    // not open.
    QString noConnectionMessage;
    // Shown when opening raises an error; empty: the error is swallowed and
    // the port's state decides.
    QString openErrorMessage;
    // Shown when the port is still closed after opening; empty: the
    // no-connection message.
    QString notOpenMessage;
    bool translateMessages = true; // pass the messages through the dictionary
    bool logCommand = false;       // log "выходная строка: " + the framed command
};

// The line added to the no-connection message while no controller has been
// found: "Нажмите «Соединить», чтобы найти прибор."
extern const QString kFindControllerHint;

// The time-out message of a state, and whether answering it cancels a key
// wait. States without an entry end silently.
struct TimeoutEntry {
    int state;
    const char *message; // UTF-8
    bool keyWaitCancel;
};
const TimeoutEntry *timeoutEntryFor(int state);

class ExchangeCore : public QObject {
    Q_OBJECT
public:
    using Route = std::function<void(const QByteArray &Str)>;
    // Takes a received chunk before the framer does; returns what the framer
    // is to get.
    using ReceiveFilter = std::function<QByteArray(const QByteArray &chunk)>;

    ExchangeCore(const ExchangeWindow &w, QObject *parent = nullptr);

    const ExchangeWindow &window() const { return w_; }
    int state() const { return w_.shared->SessionState; }
    // Every change of SessionState goes through here; a real change is
    // announced by stateChanged().
    void setState(int s);

    // The reply handling of one state. States without a route (0, 11 and
    // any unregistered one) only log their packets.
    void setRoute(int state, Route route);
    bool hasRoute(int state) const { return routes_.count(state) != 0; }

    // The framer's packet event: logs "входная строка: " + Str, then routes
    // by SessionState. Errors of a route propagate to the caller (the port's
    // hand-over), as every uncaught error does.
    void onPacket(const QByteArray &Str);

    // A reply still due to an exchange that another one replaced: the first
    // packet after the replacement that `recognise` accepts is only logged,
    // so it is not taken for the new exchange's reply. The screen ends with
    // that first packet, or when the state returns to idle or closed.
    void screenStaleReply(std::function<bool(const QByteArray &Str)> recognise);

    // The port's receiver: every received chunk goes through the filter, if
    // one is set, and then to the framer.
    void received(const QByteArray &chunk);
    void setReceiveFilter(ReceiveFilter filter) { filter_ = std::move(filter); }
    void clearReceiveFilter() { filter_ = nullptr; }

    // The sending sequence. Returns true when the command went out.
    bool sendCommand(const SendRequest &request);
    // Its parts, for senders that write their command in pieces:
    // stop responseTimer and idleCloseTimer, refuse without a connection, open the port
    // under ConnectedPort. False (after the message) when there is no line.
    bool openConnectedPort(const SendRequest &request);
    // The no-connection message while no controller has been found
    // (ConnectedPort empty), with the line that says how to find one.
    void refuseWithoutController(const SendRequest &request);
    // Purge both queues, set the state, start responseTimer.
    void armResponse(int state);
    // Announces exchangeStarting(state); armResponse() does it, a sender
    // that sets its state another way (the scan) calls it itself.
    void announceExchange(int state) { emit exchangeStarting(state); }
    // Write PacketStart + command + PacketStop and wait for the write.
    void writeCommand(const QByteArray &command, bool logCommand = false);

    // Shows a plain message, through the dictionary when asked to.
    void showMessage(const QString &text, bool translate);

    // responseTimer: the response time-out.
    void onResponseTimeout();
    // idleCloseTimer: the idle close.
    void onIdleClose();
    // The key-wait cancel ("Отмена" of the key prompt, also run by the
    // time-out): closes the prompt, ends the exchange, purges an open port
    // and starts the idle close.
    void keyWaitCancel();

    // The port reported its line lost (the port is already closed). An
    // exchange in progress (a scan, or any state but idle and closed) ends:
    // responseTimer and scanTimer stop, the key-wait cancel runs for the
    // states whose time-out runs it, the state becomes idle, connectionLost
    // is emitted, and then one message tells that the connection was lost
    // and why. Nothing in the window or in files is touched. Outside an
    // exchange only connectionLost is emitted.
    void lineLost(const QString &reason);

signals:
    // The line to the device is gone: the port reported it lost, or the
    // connected port's device no longer exists when an exchange opens it.
    // state: the exchange the loss ended, in the state it was waiting in
    // (already set to idle); ssIdle or ssClosed when none was running. A
    // module that keeps context for that exchange drops it here, and puts
    // its own controls right, without a message.
    void connectionLost(int state);
    // responseTimer fired for an exchange that was waiting in this state; emitted
    // after its box, if any, has been answered.
    void responseTimedOut(int state);
    // SessionState changed from `from` to `to`, by any means: a reply, a
    // time-out, a cancel or another sender taking the line over.
    void stateChanged(int from, int to);
    // A sender is about to arm a new exchange waiting in `state` (emitted
    // before the state is set). Whatever was still waiting for a reply, in
    // that state or another, has been replaced: a module that keeps its own
    // context for a pending reply (a check after a write, a key write's
    // steps) drops it here, without a message.
    void exchangeStarting(int state);

private:
    ExchangeWindow w_;
    std::map<int, Route> routes_;
    ReceiveFilter filter_;
    std::function<bool(const QByteArray &)> staleReply_;
};

} // namespace zarven
