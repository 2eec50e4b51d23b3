#include "settings/settings_compare.h"

#include "core/event_log.h"
#include "settings/image_fields.h"
#include "settings/shadow_settings.h"
#include "settings/write_image.h"

#include <QTimer>

namespace zarven {

SettingsCompare::SettingsCompare(ExchangeCore &core, SettingsRead &read, ControlAccess window, QObject *parent)
    : QObject(parent), core_(core), read_(read), window_(window)
{
    connect(&core_, &ExchangeCore::responseTimedOut, this, &SettingsCompare::responseTimedOut);
    // The exchange has told the loss; a later time-out is not this check's.
    connect(&core_, &ExchangeCore::connectionLost, this, [this] { waiting_ = false; });
}

QString SettingsCompare::translate(const QString &russian) const
{
    const auto &tr = core_.window().translate;
    return tr ? tr(russian) : russian;
}

void SettingsCompare::showMessage(const QString &russian)
{
    core_.window().boxes->plain(translate(russian));
}

void SettingsCompare::compareClick()
{
    const WriteImage image = encodeWriteImage(window_, *core_.window().shared);
    if (image.refused()) {
        core_.window().boxes->plain(translate(writeRefusalMessage(image.refusal)).arg(image.controls.join(QStringLiteral(", "))));
        finish(CompareOutcome::Refused);
        return;
    }
    start(encodedFields(window_), false);
}

void SettingsCompare::verifyAfterWrite(const QByteArray &writtenImage)
{
    // Our own image: its decoding says nothing worth the window's log.
    EventLog unlogged;
    ShadowSettings written;
    written.decode(writtenImage, unlogged);
    start(encodedFields(written.controls()), true);
}

void SettingsCompare::start(const QList<QByteArray> &expected, bool afterWrite)
{
    expected_ = expected;
    afterWrite_ = afterWrite;
    waiting_ = read_.requestImage([this](const QByteArray &reply) { replyReceived(reply); });
    if (!waiting_)
        finish(CompareOutcome::NoConnection);
}

void SettingsCompare::replyReceived(const QByteArray &reply)
{
    const ExchangeWindow &w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    waiting_ = false;
    if (w.port->Connected())
        w.port->PurgePort(true, true);
    startIfStopped(w.idleCloseTimer);

    ShadowSettings shadow;
    if (shadow.decode(reply, *w.log) == 0) {
        showMessage(afterWrite_ ? QStringLiteral("Запись подтверждена, но прибор вернул пустую память: проверка не пройдена.")
                                : QStringLiteral("Память прибора чиста: сравнивать не с чем."));
        finish(CompareOutcome::EmptyMemory);
        return;
    }
    const QList<FieldDifference> differences = compareFields(expected_, encodedFields(shadow.controls()));
    if (afterWrite_ && differences.isEmpty()) {
        w.boxes->confirm(translate(QStringLiteral("Процесс записи завершился. Все OK. Настройки проверены: различий нет.")));
    } else if (presenter_) {
        presenter_({afterWrite_, differences});
    }
    finish(differences.isEmpty() ? CompareOutcome::Same : CompareOutcome::Different);
}

void SettingsCompare::responseTimedOut(int state)
{
    if (state != ssReadSettings || !waiting_)
        return;
    waiting_ = false;
    // The read's time-out box has been shown; after a write it does not say
    // that the write itself was acknowledged.
    if (afterWrite_)
        showMessage(QStringLiteral("Запись подтверждена, но прибор не ответил на проверочное чтение: настройки не проверены."));
    finish(CompareOutcome::TimedOut);
}

void SettingsCompare::finish(CompareOutcome outcome)
{
    emit finished(outcome);
}

} // namespace zarven
