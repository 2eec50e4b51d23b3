#include "exchange/signal_level.h"

#include "exchange/signal_reading.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QTimer>

namespace zarven {

namespace {

const char kNoConnection[] = "Нет соединения с устройством. Проверьте подключение";
// At most this many bytes are taken by one poll.
constexpr int kPollReadSize = 20;

} // namespace

SignalLevelQuery::SignalLevelQuery(ExchangeCore &core, QObject *parent)
    : QObject(parent), core_(core), w_(core.window())
{
    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName(QStringLiteral("signalPollTimer"));
    pollTimer_->setInterval(w_.intervals.signalPollMs);
    connect(pollTimer_, &QTimer::timeout, this, [this] {
        if (w_.guarded)
            w_.guarded([this] { pollTick(); });
        else
            pollTick();
    });
    core_.setRoute(ssSignalLevel, [this](const QByteArray &Str) { signalReply(Str); });
    connect(&core_, &ExchangeCore::responseTimedOut, this, [this](int state) {
        if (state != ssSignalLevel)
            return;
        stopPolling();
        emit queryFinished(SignalOutcome::TimedOut);
    });
    connect(&core_, &ExchangeCore::connectionLost, this, [this](int state) {
        if (state != ssSignalLevel)
            return;
        stopPolling();
        emit queryFinished(SignalOutcome::LineLost);
    });
}

void SignalLevelQuery::setLabelColour(const QColor &colour)
{
    QPalette p = w_.signalLabel->palette();
    p.setColor(QPalette::WindowText, colour);
    w_.signalLabel->setPalette(p);
}

void SignalLevelQuery::startQuery()
{
    setLabelColour(QApplication::palette().color(QPalette::WindowText));
    stopPolling();
    SendRequest request;
    request.command = QByteArrayLiteral("Sg");
    request.state = ssSignalLevel;
    request.noConnectionMessage = QString::fromUtf8(kNoConnection);
    request.openErrorMessage = request.noConnectionMessage;
    request.translateMessages = false;
    request.logCommand = true;
    if (!core_.sendCommand(request)) {
        emit queryFinished(SignalOutcome::NoConnection);
        return;
    }
    startPolling();
}

void SignalLevelQuery::startPolling()
{
    pollsLeft_ = w_.intervals.signalPolls;
    awaitingFirstRead_ = true;
    core_.setReceiveFilter([this](const QByteArray &chunk) {
        return awaitingFirstRead_ ? takeFirstRead(chunk) : chunk;
    });
    pollTimer_->start();
}

void SignalLevelQuery::stopPolling()
{
    awaitingFirstRead_ = false;
    pollTimer_->stop();
    core_.clearReceiveFilter();
}

QByteArray SignalLevelQuery::framedPart(const QByteArray &bytes, const QByteArray &packetStart)
{
    const qsizetype at = bytes.indexOf(packetStart);
    if (at >= 0)
        return bytes.mid(at);
    for (qsizetype k = std::min(packetStart.size() - 1, bytes.size()); k > 0; --k)
        if (bytes.endsWith(packetStart.left(k)))
            return bytes.right(k);
    return {};
}

QByteArray SignalLevelQuery::takeFirstRead(const QByteArray &bytes)
{
    stopPolling();
    return framedPart(bytes, w_.shared->PacketStart);
}

void SignalLevelQuery::pollTick()
{
    if (!awaitingFirstRead_)
        return;
    if (core_.state() != ssSignalLevel || !w_.port->Connected()) {
        stopPolling();
        return;
    }
    const QByteArray got = w_.port->ReadUpTo(kPollReadSize);
    if (!got.isEmpty()) {
        const QByteArray framed = takeFirstRead(got);
        if (!framed.isEmpty())
            w_.framer->FeedBytes(framed);
        return;
    }
    if (--pollsLeft_ <= 0)
        stopPolling();
}

void SignalLevelQuery::showFailure(const QString &text)
{
    w_.signalGauge->setValue(0);
    w_.signalLabel->setText(captionInWindowLanguage(w_, text));
    setLabelColour(QColor(255, 0, 0));
}

void SignalLevelQuery::signalReply(const QByteArray &Str)
{
    stopPolling();
    w_.responseTimer->stop();
    startIfStopped(w_.idleCloseTimer);
    const SignalReading reading = parseSignalReply(Str);
    SignalOutcome outcome = SignalOutcome::WrongReply;
    switch (reading.kind) {
    case SignalReading::Level:
        w_.signalGauge->setValue(signalGaugePercent(reading.level));
        w_.signalLabel->setText(signalLabelText(reading.level));
        outcome = SignalOutcome::Shown;
        break;
    case SignalReading::NoService:
        showFailure(QStringLiteral("нет связи"));
        outcome = SignalOutcome::NoService;
        break;
    case SignalReading::NoNumber:
        showFailure(QStringLiteral("нет сигнала"));
        outcome = SignalOutcome::NoNumber;
        break;
    case SignalReading::NotAReport:
        break;
    }
    core_.setState(ssIdle);
    if (w_.port->Connected())
        w_.port->PurgePort(true, true);
    emit queryFinished(outcome);
}

} // namespace zarven
