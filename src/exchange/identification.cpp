#include "exchange/identification.h"

#include "core/cp1251.h"
#include "exchange/scan_report.h"
#include "serial/port_adapter.h"
#include "translate/message_translation.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <exception>
#include <utility>

namespace zarven {

namespace {

struct Sibling {
    const char *reply;
    const char *message; // UTF-8
};

const Sibling kSiblings[] = {
    {"On", "Вам нужно использовать конфигуратор \"ЗАРВЕН-А1\"\r\nсоединение НЕ установлено."},
    {"V3", "Используйте конфигуратор \"ЗАРВЕН-А2\"\r\nсоединение НЕ установлено."},
    {"T3", "Используйте конфигуратор \"ЗАРВЕН-А3\"\r\nсоединение НЕ установлено."},
    {"V5", "Используйте конфигуратор \"ЗАРВЕН-А4\"\r\nсоединение НЕ установлено."},
    {"T5", "Используйте конфигуратор \"ЗАРВЕН-А5\"\r\nсоединение НЕ установлено."},
};

const char kAccepted[] = "соединение установлено.";
const char kUnrecognised[] = "Версия и тип прибора не определены\r\nсоединение НЕ установлено.";
const char kNoAnswer[] = "Ошибка связи(нет ответа). Проверьте подключено ли устройство.";

} // namespace

QString siblingRefusal(const QByteArray &reply)
{
    for (const auto &s : kSiblings)
        if (reply == s.reply)
            return QString::fromUtf8(s.message);
    return {};
}

ControllerScan::ControllerScan(ExchangeCore &core, QObject *parent)
    : QObject(parent), core_(core), w_(core.window())
{
    core_.setRoute(ssIdentify, [this](const QByteArray &Str) { identificationReply(Str); });
    connect(&core_, &ExchangeCore::connectionLost, this, &ControllerScan::connectionLost);
}

QString ControllerScan::triedPortsReport() const
{
    QList<PortDiagnosis> diagnoses;
    for (const Tried &t : tried_)
        diagnoses << diagnosePort(t.port, t.openError);
    return scanReport(diagnoses, [this](const QString &text) { return w_.translate ? w_.translate(text) : text; });
}

QString ControllerScan::noAnswerMessage() const
{
    const QString noAnswer = QString::fromUtf8(kNoAnswer);
    return (w_.translate ? w_.translate(noAnswer) : noAnswer) + QStringLiteral("\r\n") + triedPortsReport();
}

void ControllerScan::connectionLost(int state)
{
    if (state == ssIdentify && w_.shared->ConnectedPort.isEmpty()) {
        w_.statusPanel1->setText(connectionLostText(w_.port->Port(), w_.translateStatus));
        emit scanFinished(ScanOutcome::LineLost);
        return;
    }
    if (w_.shared->ConnectedPort.isEmpty())
        return;
    const QString port = w_.shared->ConnectedPort;
    w_.shared->ConnectedPort.clear();
    w_.connectButton->setText(captionInWindowLanguage(w_, QStringLiteral("Соединить")));
    w_.connectButton->setEnabled(true);
    w_.statusPanel1->setText(connectionLostText(port, w_.translateStatus));
    w_.signalGauge->setValue(0);
    w_.signalLabel->setText(QStringLiteral("."));
}

void ControllerScan::startScan()
{
    // A failing port list ends the handler here: the list stays empty and
    // no scan starts.
    const QString plugged = std::exchange(pluggedPort_, QString());
    w_.portList->clear();
    w_.portList->addItems(plugged.isEmpty() ? ListSerialPorts(w_.extraPorts, w_.includeSystemPorts) : QStringList {plugged});
    plugged_ = !plugged.isEmpty();
    // The scan replaces an exchange still waiting for its reply: that
    // exchange's time-out would otherwise end the scan half-way.
    w_.responseTimer->stop();
    core_.announceExchange(ssIdentify);
    core_.setState(ssIdentify);
    connectedVersion_.clear();
    ScanIndex = 0;
    ScanLast = w_.portList->count() - 1;
    tried_.clear();
    // Restarted, not left running: the first port, tried below, gets its
    // whole step to answer.
    w_.scanTimer->start();
    w_.shared->ConnectedPort.clear();
    // Until a "T6" reply the window must not claim a connection it no longer
    // has, also after a failed rescan.
    w_.connectButton->setText(captionInWindowLanguage(w_, QStringLiteral("Соединить")));
    w_.connectButton->setEnabled(true);
    showTranslated(w_.statusPanel1, QString(), w_.translate);
    showPortWarning(QString());
    // The first port at once; scanTimer steps on to the next ones.
    tryNextPort();
}

void ControllerScan::showPortWarning(const QString &text)
{
    if (!w_.statusWarning)
        return;
    w_.statusWarning->setText(text);
    w_.statusWarning->setVisible(!text.isEmpty());
}

void ControllerScan::scanPlugged(const QString &port)
{
    pluggedPort_ = port;
    startScan();
}

void ControllerScan::tryNextPort()
{
    SerialPort &port = *w_.port;
    // Closing ends the previous step's listening.
    if (port.Connected())
        port.ClosePort();
    if (ScanLast < ScanIndex || core_.state() != ssIdentify) {
        w_.scanTimer->stop();
        w_.statusPanel1->clear();
        if (!plugged_)
            w_.boxes->plain(noAnswerMessage());
        emit scanFinished(ScanOutcome::NoAnswer);
        return;
    }
    port.setPort(w_.portList->itemText(ScanIndex));
    w_.statusPanel1->setText(scanProgressText(port.Port(), ScanIndex + 1, ScanLast + 1, w_.translateStatus));
    try {
        port.OpenPort();
    } catch (const SerialPortError &e) {
        // A port that cannot be opened costs one step; why is told if no
        // port answers.
        tried_.append({port.Port(), e.systemCode()});
        ++ScanIndex;
        return;
    } catch (const std::exception &) {
        tried_.append({port.Port(), -1});
        ++ScanIndex;
        return;
    }
    tried_.append({port.Port(), 0});
    // Counted before the write: a port whose write fails is reported by the
    // default error report and the scan goes on with the next port instead
    // of retrying this one for ever.
    ++ScanIndex;
    port.SendString(w_.shared->framed(QByteArrayLiteral("Tt")));
}

void ControllerScan::identificationReply(const QByteArray &Str)
{
    const QString refusal = siblingRefusal(Str);
    if (!refusal.isEmpty() || !Str.startsWith("T6")) {
        // Refused: the exchange ends, so the idle close frees the port for
        // the device's own configurator.
        w_.scanTimer->stop();
        core_.setState(ssIdle);
        startIfStopped(w_.idleCloseTimer);
        w_.statusPanel1->clear();
        w_.boxes->information(refusal.isEmpty() ? QString::fromUtf8(kUnrecognised) : refusal);
        emit scanFinished(refusal.isEmpty() ? ScanOutcome::Unrecognised : ScanOutcome::Sibling);
        return;
    }
    w_.shared->ConnectedPort = w_.port->Port();
    connectedVersion_ = fromCp1251(Str.mid(2)).trimmed();
    w_.scanTimer->stop();
    // Another program with the port open may take the controller's replies
    // or write into the exchanges, even when this first one went well.
    const QString shared = portSharedWarning(describePort(w_.shared->ConnectedPort),
                                             portHolders(w_.shared->ConnectedPort), w_.translate);
    showPortWarning(shared);
    QString accepted = QString::fromUtf8(kAccepted);
    if (!shared.isEmpty())
        accepted += QStringLiteral("\r\n") + shared;
    if (plugged_ || w_.boxes->confirm(accepted)) {
        core_.setState(ssIdle);
        startIfStopped(w_.idleCloseTimer);
    }
    showTranslated(w_.statusPanel1,
                   QStringLiteral("соединен с ") + describePort(w_.shared->ConnectedPort) + QLatin1Char(' ')
                       + fromCp1251(Str.mid(2)),
                   w_.translate);
    w_.connectButton->setText(captionInWindowLanguage(w_, QStringLiteral("Соединен")));
    w_.connectButton->setEnabled(false);
    emit scanFinished(ScanOutcome::Connected);
}

} // namespace zarven
