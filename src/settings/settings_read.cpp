#include "settings/settings_read.h"

#include "editor/settings_panels.h"
#include "settings/image_reader.h"
#include "settings/stored_fields.h"

#include <QTimer>

namespace zarven {

int decodeSettingsReply(const QByteArray& Str, ControlAccess& target, EventLog& log)
{
    target.panels().cleanPanel();
    return decodeSettingsImage(Str, target, log);
}

SettingsRead::SettingsRead(ExchangeCore& core, SettingsReadWindow window, QObject* parent)
    : QObject(parent)
    , core_(core)
    , window_(std::move(window))
{
    core_.setRoute(ssReadSettings, [this](const QByteArray& Str) { settingsReply(Str); });
    connect(&core_, &ExchangeCore::responseTimedOut, this, [this](int state) {
        if (state == ssReadSettings && windowRead_) {
            windowRead_ = false;
            emit readFinished(ReadOutcome::TimedOut);
        }
    });
    // The exchange has told the loss; a later time-out is not this read's.
    connect(&core_, &ExchangeCore::connectionLost, this, [this] { windowRead_ = false; });
}

SendRequest SettingsRead::request() const
{
    SendRequest r;
    r.command = QByteArrayLiteral("Pt");
    r.state = ssReadSettings;
    // An error while opening is not shown: the port's state afterwards
    // decides, with the no-connection message.
    r.noConnectionMessage = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
    return r;
}

void SettingsRead::readSettings()
{
    const ExchangeWindow& w = core_.window();
    w.responseTimer->stop();
    w.idleCloseTimer->stop();
    const SendRequest r = request();
    if (w.shared->ConnectedPort.isEmpty()) {
        core_.refuseWithoutController(r);
        emit readFinished(ReadOutcome::NoConnection);
        return;
    }
    // Manual date and time: the controller's date and time stay in view
    // after the read instead of being overwritten by the clock.
    window_.controls.setChecked(QStringLiteral("CheckBox4"), false);
    if (!core_.openConnectedPort(r)) {
        emit readFinished(ReadOutcome::NoConnection);
        return;
    }
    if (keepsBackup_)
        window_.saveBackup();
    receiver_ = [this](const QByteArray& Str) { decodeIntoWindow(Str); };
    windowRead_ = true;
    core_.armResponse(ssReadSettings);
    core_.writeCommand(r.command);
}

bool SettingsRead::requestImage(Receiver receiver)
{
    if (!core_.sendCommand(request()))
        return false;
    receiver_ = std::move(receiver);
    windowRead_ = false;
    return true;
}

void SettingsRead::settingsReply(const QByteArray& Str)
{
    // A copy: the receiver may start the next request, which replaces it.
    const Receiver receiver = receiver_;
    if (receiver)
        receiver(Str);
}

void SettingsRead::endExchange()
{
    const ExchangeWindow& w = core_.window();
    core_.setState(ssIdle);
    if (w.port->Connected())
        w.port->PurgePort(true, true);
    startIfStopped(w.idleCloseTimer);
}

void SettingsRead::decodeIntoWindow(const QByteArray& Str)
{
    const ExchangeWindow& w = core_.window();
    windowRead_ = false;
    const qsizetype logged = w.log->lines().size();
    const int records = decodeSettingsReply(Str, window_.controls, *w.log);
    decodingEntries_ = w.log->textLines().mid(logged);
    core_.setState(ssIdle);
    w.responseTimer->stop();
    ReadOutcome outcome = ReadOutcome::Decoded;
    if (records == 0) {
        outcome = ReadOutcome::MemoryEmpty;
        if (w.boxes->question(
                QStringLiteral("Процесс чтения завершился=0.Память чиста.\r\n Восстановить предыдующие значения"))
            && keepsBackup_)
            window_.restoreBackup();
        endExchange();
    } else if (storedFields(Str).cutShort) {
        // A reply that ends inside a record (a stop marker among its bytes)
        // left the rest of the window at its reset values: no "Все OK".
        outcome = ReadOutcome::Incomplete;
        if (w.boxes->confirm(
                QStringLiteral("Процесс чтения завершился, но ответ прибора неполон: часть настроек не прочитана.")))
            endExchange();
    } else if (w.boxes->confirm(QStringLiteral("Процесс чтения завершился. Все OK."))) {
        endExchange();
    }
    core_.setState(ssIdle);
    emit readFinished(outcome);
}

} // namespace zarven
