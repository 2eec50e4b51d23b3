#pragma once
// The controller's settings as they are now, read without touching the
// window: "Pt" goes out as the read sends it, and the reply is decoded into
// hidden panels of its own. The preview before a write reads what the write
// is about to replace this way, and the journal keeps it.
//
// The exchange ends with the reply (state idle, the idle close started), on
// the read's time-out, or when another exchange replaces it; finished() says
// which, once per start().

#include "exchange/exchange_core.h"
#include "settings/shadow_settings.h"

#include <QObject>
#include <memory>

namespace zarven {

class SettingsRead;

class ControllerSnapshot : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Read,         // settings arrived
        EmptyMemory,  // a reply without settings
        NoReply,      // the read's time-out
        NoConnection, // nothing was sent (the message has been shown)
        Replaced,     // another exchange took the line before the reply
        LineLost,     // the line to the controller went (the message has been shown)
    };

    ControllerSnapshot(ExchangeCore &core, SettingsRead &read, QObject *parent = nullptr);

    // Sends "Pt"; finished() follows, also at once for NoConnection.
    void start();
    bool waiting() const { return waiting_; }

    // The last reply as it came (empty before one) and the settings it
    // decoded to.
    const QByteArray &reply() const { return reply_; }
    ShadowSettings &settings() { return *settings_; }

signals:
    void finished(zarven::ControllerSnapshot::Outcome outcome);

private:
    void replyReceived(const QByteArray &reply);
    void end(Outcome outcome);

    ExchangeCore &core_;
    SettingsRead &read_;
    std::unique_ptr<ShadowSettings> settings_;
    QByteArray reply_;
    bool waiting_ = false;
    bool starting_ = false;
};

} // namespace zarven
