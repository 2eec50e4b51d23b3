#include "settings/settings_write.h"

#include "settings/write_image.h"

#include <QTimer>

namespace zarven {

SettingsWrite::SettingsWrite(ExchangeCore& core, ControlAccess controls, QObject* parent)
    : QObject(parent)
    , core_(core)
    , controls_(std::move(controls))
{
    core_.setRoute(ssWriteSettings, [this](const QByteArray& Str) { acknowledgement(Str); });
    connect(&core_, &ExchangeCore::responseTimedOut, this, [this](int state) {
        if (state == ssWriteSettings)
            emit writeFinished(WriteOutcome::TimedOut);
    });
}

bool SettingsWrite::messageTextsMissing()
{
    const QList<int> inputs = inputsWithoutMessage(controls_);
    if (inputs.isEmpty())
        return false;
    core_.window().boxes->warning(missingMessageWarning(inputs));
    return true;
}

SendRequest SettingsWrite::request() const
{
    SendRequest request;
    request.state = ssWriteSettings;
    request.noConnectionMessage = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
    request.openErrorMessage = QStringLiteral("Ошибка соединения с устройством. Проверьте подключение");
    request.notOpenMessage = QStringLiteral("Ошибка соединения с портом. Проверьте подключение");
    return request;
}

bool SettingsWrite::refuses()
{
    if (messageTextsMissing())
        return true;
    const WriteImage image = encodeWriteImage(controls_, *core_.window().shared);
    if (image.refused()) {
        core_.window().boxes->plain(writeRefusalText(image, core_.window().translate));
        return true;
    }
    return false;
}

void SettingsWrite::writeSettings()
{
    if (messageTextsMissing()) {
        emit writeFinished(WriteOutcome::Refused);
        return;
    }
    // Every piece is encoded before the first goes out: a box that cannot
    // be encoded must not leave a half-written image at the controller.
    const WriteImage image = encodeWriteImage(controls_, *core_.window().shared);
    if (image.refused()) {
        core_.window().boxes->plain(writeRefusalText(image, core_.window().translate));
        emit writeFinished(WriteOutcome::Refused);
        return;
    }

    if (!core_.openConnectedPort(request())) {
        emit writeFinished(WriteOutcome::NoConnection);
        return;
    }
    const ExchangeWindow& w = core_.window();
    writtenImage_ = writtenRecords(image);
    // Whatever still waited for a reply (a check after an earlier write) is
    // replaced by this write.
    core_.announceExchange(ssWriteSettings);
    core_.setState(ssWriteSettings);
    // Each piece is a write of its own, waited for before the next; at
    // 38400 bit/s the whole image takes well under 100 ms on the line.
    for (const QByteArray& piece : image.pieces)
        w.port->SendString(piece);
    core_.setState(ssWriteSettings);
    startIfStopped(w.responseTimer);
}

void SettingsWrite::acknowledgement(const QByteArray& Str)
{
    const ExchangeWindow& w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    const bool acknowledged = Str == "COK";
    if (acknowledged && afterAcknowledgement_ && afterAcknowledgement_(writtenImage_)) {
        emit writeFinished(WriteOutcome::Acknowledged);
        return;
    }
    if (w.boxes->confirm(acknowledged ? QStringLiteral("Процесс записи завершился. Все OK.")
                                      : QStringLiteral("Ответ об успешной записи не корректен."))) {
        core_.setState(ssIdle);
        if (w.port->Connected())
            w.port->PurgePort(true, true);
        startIfStopped(w.idleCloseTimer);
    }
    emit writeFinished(acknowledged ? WriteOutcome::Acknowledged : WriteOutcome::WrongReply);
}

} // namespace zarven
