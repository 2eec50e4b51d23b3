#include "settings/settings_write.h"

#include "settings/control_names.h"
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
    QString list;
    int count = 0;
    for (int input = 1; input <= kInputs; ++input) {
        const InputControls in = inputControls(input);
        if (controls_.checked(in.active) && controls_.text(in.message).isEmpty()) {
            list += QString::number(input) + QLatin1Char(',');
            ++count;
        }
    }
    if (count == 0)
        return false;
    // Composed in Russian and translated whole, the input list as a part.
    const QString prefix = count == 1 ? QStringLiteral("Не введен текст сообщений на входе:")
                                      : QStringLiteral("Не введен текст сообщений на входах:");
    core_.window().boxes->warning(prefix + list + QStringLiteral(". Нажмите OK."));
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
        core_.window().boxes->plain(writeRefusalMessage(image.refusal).arg(image.controls.join(QStringLiteral(", "))));
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
        core_.window().boxes->plain(writeRefusalMessage(image.refusal).arg(image.controls.join(QStringLiteral(", "))));
        emit writeFinished(WriteOutcome::Refused);
        return;
    }

    if (!core_.openConnectedPort(request())) {
        emit writeFinished(WriteOutcome::NoConnection);
        return;
    }
    const ExchangeWindow& w = core_.window();
    writtenImage_.clear();
    for (qsizetype piece = 1; piece + 1 < image.pieces.size(); ++piece)
        writtenImage_ += image.pieces.at(piece);
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
