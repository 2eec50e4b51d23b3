#include "journal/controller_snapshot.h"

#include "settings/settings_read.h"

#include <QTimer>

namespace zarven {

ControllerSnapshot::ControllerSnapshot(ExchangeCore &core, SettingsRead &read, QObject *parent)
    : QObject(parent), core_(core), read_(read), settings_(std::make_unique<ShadowSettings>())
{
    connect(&core_, &ExchangeCore::responseTimedOut, this, [this](int state) {
        if (waiting_ && state == ssReadSettings)
            end(Outcome::NoReply);
    });
    // Another sender took the line over: its reply is not ours.
    connect(&core_, &ExchangeCore::exchangeStarting, this, [this](int) {
        if (waiting_ && !starting_)
            end(Outcome::Replaced);
    });
    connect(&core_, &ExchangeCore::connectionLost, this, [this] {
        if (waiting_)
            end(Outcome::LineLost);
    });
}

void ControllerSnapshot::start()
{
    reply_.clear();
    starting_ = true;
    waiting_ = read_.requestImage([this](const QByteArray &reply) { replyReceived(reply); });
    starting_ = false;
    if (!waiting_)
        emit finished(Outcome::NoConnection);
}

void ControllerSnapshot::replyReceived(const QByteArray &reply)
{
    const ExchangeWindow &w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    if (w.port->Connected())
        w.port->PurgePort(true, true);
    startIfStopped(w.idleCloseTimer);
    reply_ = reply;
    settings_ = std::make_unique<ShadowSettings>();
    const int records = settings_->decode(reply, *w.log);
    end(records == 0 ? Outcome::EmptyMemory : Outcome::Read);
}

void ControllerSnapshot::end(Outcome outcome)
{
    waiting_ = false;
    emit finished(outcome);
}

} // namespace zarven
