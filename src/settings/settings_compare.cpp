#include "settings/settings_compare.h"

#include "core/event_log.h"
#include "settings/image_fields.h"
#include "settings/shadow_settings.h"
#include "settings/stored_fields.h"
#include "settings/write_image.h"

#include <QTimer>

namespace zarven {

SettingsCompare::SettingsCompare(ExchangeCore &core, SettingsRead &read, ControlAccess window, QObject *parent)
    : QObject(parent), core_(core), read_(read), window_(window)
{
    connect(&core_, &ExchangeCore::responseTimedOut, this, &SettingsCompare::responseTimedOut);
    // The exchange has told the loss; a later time-out is not this check's.
    connect(&core_, &ExchangeCore::connectionLost, this, [this] { waiting_ = false; });
    connect(&core_, &ExchangeCore::exchangeStarting, this, &SettingsCompare::exchangeStarting);
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
    // The same checks as a write: the comparison answers what a write
    // would change, so what a write refuses is refused here, nothing sent.
    const QList<int> withoutText = inputsWithoutMessage(window_);
    if (!withoutText.isEmpty()) {
        core_.window().boxes->warning(missingMessageWarning(withoutText));
        finish(CompareOutcome::Refused);
        return;
    }
    const WriteImage image = encodeWriteImage(window_, *core_.window().shared);
    if (image.refused()) {
        core_.window().boxes->plain(writeRefusalText(image, [this](const QString &t) { return translate(t); }));
        finish(CompareOutcome::Refused);
        return;
    }
    start(writtenRecords(image), false);
}

void SettingsCompare::verifyAfterWrite(const QByteArray &writtenImage)
{
    start(writtenImage, true);
}

void SettingsCompare::start(const QByteArray &expected, bool afterWrite)
{
    expected_ = expected;
    afterWrite_ = afterWrite;
    // The request announces itself: a comparison still pending ends there.
    waiting_ = read_.requestImage([this](const QByteArray &reply) { replyReceived(reply); });
    if (!waiting_)
        finish(CompareOutcome::NoConnection);
}

void SettingsCompare::exchangeStarting()
{
    if (!waiting_)
        return;
    waiting_ = false;
    finish(CompareOutcome::Replaced);
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

    // Decoded for the log only: the comparison reads the reply's bytes.
    ShadowSettings shadow;
    shadow.decode(reply, *w.log);
    if (storedFields(reply).counted == 0) {
        showMessage(afterWrite_ ? QStringLiteral("Запись подтверждена, но прибор вернул пустую память: проверка не пройдена.")
                                : QStringLiteral("Память прибора чиста: сравнивать не с чем."));
        finish(CompareOutcome::EmptyMemory);
        return;
    }
    const Comparison comparison = compareImages(expected_, reply);
    if (afterWrite_ && comparison.differences.isEmpty()) {
        const TextTranslator tr = [this](const QString &t) { return translate(t); };
        const QStringList lines = QStringList{translate(QStringLiteral(
                                                  "Процесс записи завершился. Все OK. Настройки проверены: различий нет."))}
            + differenceSummary(comparison, tr).mid(1);
        w.boxes->confirm(lines.join(QLatin1Char('\n')));
    } else if (presenter_) {
        presenter_({afterWrite_, comparison});
    }
    finish(comparison.differences.isEmpty() ? CompareOutcome::Same : CompareOutcome::Different);
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
