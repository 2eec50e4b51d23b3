#include "exchange/exchange_activity.h"

#include "core/clock.h"

#include <QTimer>
#include <cmath>

namespace zarven {

ExchangeActivity::ExchangeActivity(ExchangeCore &core, const Clock &clock, QObject *parent)
    : QObject(parent), core_(core), clock_(clock)
{
    tick_ = new QTimer(this);
    tick_->setObjectName(QStringLiteral("exchangeActivityTick"));
    tick_->setInterval(core.window().intervals.clockMs);
    connect(tick_, &QTimer::timeout, this, &ExchangeActivity::changed);
    // A named run ends with its wait, and is taken up again by a wait that
    // the same handler starts (a write's check after it), until the event
    // loop runs on.
    endCheck_ = new QTimer(this);
    endCheck_->setSingleShot(true);
    endCheck_->setInterval(0);
    connect(endCheck_, &QTimer::timeout, this, [this] { ended_.valid = false; });

    connect(&core_, &ExchangeCore::exchangeStarting, this, &ExchangeActivity::waitBegins);
    connect(&core_, &ExchangeCore::stateChanged, this, [this](int, int to) {
        if (counted(to))
            waitBegins(to);
        else if (running_)
            end();
    });
}

QString ExchangeActivity::stateLabel(int state)
{
    switch (state) {
    case ssReadSettings:
        return QStringLiteral("Чтение настроек");
    case ssWriteSettings:
        return QStringLiteral("Запись настроек");
    case ssReadKeyTable:
        return QStringLiteral("Чтение таблицы ключей");
    case ssReadKey:
        return QStringLiteral("Чтение ключа");
    case ssPrepareKeyWrite:
    case ssWriteKeys:
        return QStringLiteral("Запись ключей");
    case ssSignalLevel:
        return QStringLiteral("Запрос уровня сигнала");
    default:
        return QStringLiteral("Обмен с прибором");
    }
}

bool ExchangeActivity::counted(int state) const
{
    if (state == ssIdle || state == ssClosed || state == ssIdentify)
        return false;
    return !(leftOut_ && leftOut_(state));
}

void ExchangeActivity::waitBegins(int state)
{
    if (!counted(state))
        return;
    const QDateTime now = clock_.now();
    QString label = stateLabel(state);
    bool named = false;
    if (!pending_.isEmpty()) {
        label = pending_;
        named = true;
    } else if (running_ && named_) {
        label = label_;
        named = true;
    } else if (!running_ && ended_.valid) {
        label = ended_.label;
        named = true;
        started_ = ended_.started;
        label_ = label;
    }
    ended_.valid = false;
    if (!running_ && !named)
        started_ = now;
    else if (label != label_)
        started_ = now;
    label_ = label;
    named_ = named;
    waitState_ = state;
    waitStarted_ = now;
    if (!running_) {
        running_ = true;
        tick_->start();
        emit started();
    }
    emit changed();
}

void ExchangeActivity::end()
{
    if (named_) {
        ended_ = {true, label_, started_};
        endCheck_->start();
    }
    running_ = false;
    named_ = false;
    label_.clear();
    waitState_ = ssIdle;
    tick_->stop();
    emit finished();
}

void ExchangeActivity::runAs(const QString &label, const std::function<void()> &handler)
{
    const QString outer = pending_;
    pending_ = label;
    // The name goes whatever way the handler leaves.
    struct Restore {
        QString &pending;
        QString outer;
        ~Restore() { pending = outer; }
    } restore{pending_, outer};
    handler();
}

qint64 ExchangeActivity::elapsedSeconds() const
{
    return running_ ? started_.secsTo(clock_.now()) : 0;
}

int ExchangeActivity::secondsLeft() const
{
    if (!running_)
        return 0;
    const qint64 left = core_.window().responseTimer->interval() - waitStarted_.msecsTo(clock_.now());
    return left <= 0 ? 0 : int(std::ceil(double(left) / 1000.0));
}

QString ExchangeActivity::statusText(const std::function<QString(const QString &)> &tr) const
{
    if (!running_)
        return {};
    auto in = [&tr](const QString &text) { return tr ? tr(text) : text; };
    return in(label_) + QStringLiteral("… ") + in(QStringLiteral("%1 с")).arg(elapsedSeconds());
}

void ExchangeActivity::cancel()
{
    core_.cancelWait();
}

} // namespace zarven
