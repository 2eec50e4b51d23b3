#include "exchange/exchange_core.h"

#include "core/cp1251.h"
#include "exchange/scan_report.h"
#include "serial/port_diagnosis.h"

#include <QFileInfo>
#include <QTimer>
#include <exception>

namespace zarven {

const QString kFindControllerHint = QStringLiteral("Нажмите «Соединить», чтобы найти прибор.");

void startIfStopped(QTimer *timer)
{
    if (!timer->isActive())
        timer->start();
}

QString captionInWindowLanguage(const ExchangeWindow &w, const QString &russian)
{
    return w.caption ? w.caption(russian) : russian;
}

ExchangeCore::ExchangeCore(const ExchangeWindow &w, QObject *parent) : QObject(parent), w_(w)
{
    connect(w_.port, &SerialPort::lineLost, this, &ExchangeCore::lineLost);
}

void ExchangeCore::lineLost(const QString &reason)
{
    w_.log->add(toCp1251(QStringLiteral("линия потеряна: ") + reason));
    const int s = state();
    const bool running = (s != ssIdle && s != ssClosed) || w_.scanTimer->isActive();
    if (!running) {
        emit connectionLost(s);
        return;
    }
    w_.scanTimer->stop();
    w_.responseTimer->stop();
    if (const TimeoutEntry *entry = timeoutEntryFor(s); entry && entry->keyWaitCancel)
        keyWaitCancel();
    setState(ssIdle);
    emit connectionLost(s);
    const QString port = w_.port->Port();
    const TranslateFunction translate = [this](const QString &text) { return w_.translate ? w_.translate(text) : text; };
    w_.boxes->plain(lineLostMessage(port, !QFileInfo::exists(port), reason, translate));
}

void ExchangeCore::setState(int s)
{
    const int old = w_.shared->SessionState;
    w_.shared->SessionState = s;
    if (s == ssIdle || s == ssClosed)
        staleReply_ = nullptr;
    if (old != s)
        emit stateChanged(old, s);
}

void ExchangeCore::setRoute(int state, Route route)
{
    if (route)
        routes_[state] = std::move(route);
    else
        routes_.erase(state);
}

void ExchangeCore::onPacket(const QByteArray &Str)
{
    w_.log->add(toCp1251(QStringLiteral("входная строка: ")) + Str);
    if (staleReply_) {
        const auto recognise = std::move(staleReply_);
        staleReply_ = nullptr;
        if (recognise(Str))
            return;
    }
    const auto it = routes_.find(state());
    if (it == routes_.end())
        return;
    // A copy: the route may replace itself while it runs.
    const Route route = it->second;
    route(Str);
}

void ExchangeCore::screenStaleReply(std::function<bool(const QByteArray &)> recognise)
{
    staleReply_ = std::move(recognise);
}

void ExchangeCore::received(const QByteArray &chunk)
{
    QByteArray feed = chunk;
    if (filter_) {
        // A copy: the filter usually removes itself while it runs.
        const ReceiveFilter filter = filter_;
        feed = filter(chunk);
    }
    if (!feed.isEmpty())
        w_.framer->FeedBytes(feed);
}

void ExchangeCore::showMessage(const QString &text, bool translate)
{
    w_.boxes->plain(translate && w_.translate ? w_.translate(text) : text);
}

void ExchangeCore::refuseWithoutController(const SendRequest &request)
{
    showMessage(request.noConnectionMessage + QStringLiteral("\r\n") + kFindControllerHint, request.translateMessages);
}

bool ExchangeCore::openConnectedPort(const SendRequest &request)
{
    w_.responseTimer->stop();
    w_.idleCloseTimer->stop();
    if (w_.shared->ConnectedPort.isEmpty()) {
        refuseWithoutController(request);
        return false;
    }
    SerialPort &port = *w_.port;
    port.setPort(w_.shared->ConnectedPort);
    if (!port.Connected()) {
        try {
            port.OpenPort();
        } catch (const std::exception &e) {
            // An unplugged adapter: ask for a scan rather than pretend the
            // controller is still there.
            if (const auto *comError = dynamic_cast<const SerialPortError *>(&e);
                comError && deviceGoneError(comError->systemCode()))
                emit connectionLost(state());
            if (!request.openErrorMessage.isEmpty()) {
                showMessage(request.openErrorMessage, request.translateMessages);
                return false;
            }
        }
    }
    if (!port.Connected()) {
        showMessage(request.notOpenMessage.isEmpty() ? request.noConnectionMessage : request.notOpenMessage,
                    request.translateMessages);
        return false;
    }
    return true;
}

void ExchangeCore::armResponse(int state)
{
    announceExchange(state);
    w_.port->PurgePort(true, true);
    setState(state);
    startIfStopped(w_.responseTimer);
}

void ExchangeCore::writeCommand(const QByteArray &command, bool logCommand)
{
    const QByteArray framed = w_.shared->framed(command);
    if (logCommand)
        w_.log->add(toCp1251(QStringLiteral("выходная строка: ")) + framed);
    w_.port->SendString(framed);
}

bool ExchangeCore::sendCommand(const SendRequest &request)
{
    if (!openConnectedPort(request))
        return false;
    armResponse(request.state);
    writeCommand(request.command, request.logCommand);
    return true;
}

} // namespace zarven
