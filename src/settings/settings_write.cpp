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
            finish(WriteOutcome::TimedOut);
    });
    core_.setTimeoutPresenter(ssWriteSettings, [this](const QString& message) { return showFailure(message); });
    // A wait cancelled by the user has no time-out box; the failure is told
    // all the same, since the image went out.
    connect(&core_, &ExchangeCore::waitCancelled, this, [this](int state) {
        if (state == ssWriteSettings)
            showFailure(QStringLiteral("НЕТ ответа о окончании записи в устройство"));
    });
    core_.setLossNote(ssWriteSettings, failureNote());
}

QString SettingsWrite::failureNote()
{
    return QStringLiteral("Прибор может хранить прежние настройки или часть новых.");
}

bool SettingsWrite::showFailure(const QString& message)
{
    MessageBoxes& boxes = *core_.window().boxes;
    const QString text = boxes.translated(message) + QLatin1Char('\n') + boxes.translated(failureNote());
    if (!offersRetry_)
        return boxes.show(BoxKind::Confirmation, text);
    auto button = [this](const QString& russian) { return captionInWindowLanguage(core_.window(), russian); };
    retry_ = boxes.choose(text, { button(QStringLiteral("Повторить")), button(QStringLiteral("Закрыть")) }) == 0;
    return true;
}

void SettingsWrite::finish(WriteOutcome outcome)
{
    emit writeFinished(outcome);
    if (retry_ && outcome != WriteOutcome::Acknowledged) {
        retry_ = false;
        emit retryRequested();
    }
    retry_ = false;
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
    if (acknowledged ? w.boxes->confirm(QStringLiteral("Процесс записи завершился. Все OK."))
                     : showFailure(QStringLiteral("Ответ об успешной записи не корректен."))) {
        core_.setState(ssIdle);
        if (w.port->Connected())
            w.port->PurgePort(true, true);
        startIfStopped(w.idleCloseTimer);
    }
    finish(acknowledged ? WriteOutcome::Acknowledged : WriteOutcome::WrongReply);
}

} // namespace zarven
