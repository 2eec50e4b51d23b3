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
    // Whether the box of a failed write (a wrong reply, no reply, a wait
    // cancelled) offers "Повторить"; on by default. A batch run has nobody
    // to answer it.
    void setOffersRetry(bool offers) { offersRetry_ = offers; }
    // The line a failed write's message adds: the controller may hold its
    // old settings or part of the new ones.
    static QString failureNote();

signals:
    // Emitted once per write that was started, after its last box.
    void writeFinished(zarven::WriteOutcome outcome);
    // "Повторить" was chosen in the box of a failed write; emitted after
    // writeFinished.
    void retryRequested();

private:
    bool messageTextsMissing();
    // The box of a failed write: its message, the failure note and, when
    // offered, "Повторить". Returns true as the confirmation's Yes would.
    bool showFailure(const QString& message);
    void finish(WriteOutcome outcome);

    ExchangeCore& core_;
    ControlAccess controls_;
    std::function<bool(const QByteArray& image)> afterAcknowledgement_;
    QByteArray writtenImage_;
    bool offersRetry_ = true;
    bool retry_ = false;
};

} // namespace zarven
