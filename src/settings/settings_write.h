#pragma once
// Writing the window's settings to the controller ("Запись настроек в память
// прибора", menu "Записать параметры"): the message texts are checked, the
// whole image is encoded, the controller's port is opened, the eleven pieces
// go out one after another, and the acknowledgement "COK" is awaited through
// the exchange state machine (state ssWriteSettings).
//
// Nothing is sent, and no timer or state changes, when an active input has no
// message text or the image cannot be encoded (see write_image.h); a message
// says why.

#include "exchange/exchange_core.h"
#include "settings/control_access.h"

#include <QObject>
#include <functional>

namespace zarven {

enum class WriteOutcome {
    Acknowledged, // "COK"
    WrongReply, // any other packet
    TimedOut, // no packet before responseTimer
    Refused, // a message text is missing or the image cannot be encoded
    NoConnection, // no controller found, or its port will not open
};

class SettingsWrite : public QObject {
    Q_OBJECT
public:
    SettingsWrite(ExchangeCore& core, ControlAccess controls, QObject* parent = nullptr);

    // The button and the menu item.
    void writeSettings();
    // The checks a write makes before it sends anything: true, after the
    // message that says why, when the window's settings would be refused.
    bool refuses();
    // The write's sending request: its messages when there is no line.
    SendRequest request() const;
    // The records the last write sent (no markers, no write command).
    const QByteArray &writtenImage() const { return writtenImage_; }
    // The acknowledgement route (SessionState 3).
    void acknowledgement(const QByteArray& Str);
    // Runs after the acknowledgement "COK" with the records that were written
    // (no markers, no write command); returns true when it takes over the
    // write's final box, as the check after a write does.
    void setAfterAcknowledgement(std::function<bool(const QByteArray& image)> hook) { afterAcknowledgement_ = std::move(hook); }

signals:
    // Emitted once per write that was started, after its last box.
    void writeFinished(zarven::WriteOutcome outcome);

private:
    bool messageTextsMissing();

    ExchangeCore& core_;
    ControlAccess controls_;
    std::function<bool(const QByteArray& image)> afterAcknowledgement_;
    QByteArray writtenImage_;
};

} // namespace zarven
