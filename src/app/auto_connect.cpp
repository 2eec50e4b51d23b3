#include "app/auto_connect.h"

#include "app/main_window.h"
#include "exchange/device_exchange.h"
#include "serial/device_watch.h"
#include "serial/port_adapter.h"
#include "translate/message_translation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace zarven {

bool AutoConnect::Identity::sameAdapter(const Identity &o) const
{
    if (!byPath.isEmpty() || !o.byPath.isEmpty())
        return byPath == o.byPath || (!byId.isEmpty() && byId == o.byId);
    if (!byId.isEmpty() || !o.byId.isEmpty())
        return byId == o.byId;
    return !device.isEmpty() && device == o.device;
}

AutoConnect::AutoConnect(MainWindow &window, DeviceWatch *watch, QLabel *status)
    : QObject(&window), w_(window), status_(status), settleTimer_(new QTimer(this))
{
    // The adapters' sysfs and udev links belong to the tree the watched
    // folder is the /dev of.
    const QString folder = QDir::cleanPath(watch->folder());
    if (folder != QLatin1String("/dev") && folder.endsWith(QLatin1String("/dev")))
        root_ = folder.chopped(4);
    settleTimer_->setSingleShot(true);
    settleTimer_->setInterval(window.options.deviceSettleMs);
    connect(settleTimer_, &QTimer::timeout, this, [this] { w_.guarded([this] { settle(); }); });
    connect(watch, &DeviceWatch::deviceAppeared, this, &AutoConnect::deviceAppeared);
    connect(watch, &DeviceWatch::deviceRemoved, this, &AutoConnect::deviceRemoved);
    connect(&w_.exchange->scan, &ControllerScan::scanFinished, this, &AutoConnect::scanFinished);
    connect(&w_.exchange->core, &ExchangeCore::connectionLost, this, &AutoConnect::lost);
}

AutoConnect::Identity AutoConnect::identify(const QString &port) const
{
    // A port path inside the fake tree is read as the system path it plays.
    const QString systemPath = !root_.isEmpty() && port.startsWith(root_ + QLatin1Char('/')) ? port.mid(root_.size()) : port;
    const PortAdapter a = portAdapter(systemPath, root_);
    return {port, a.byId, a.byPath};
}

void AutoConnect::deviceAppeared(const QString &path)
{
    // A link under serial/ leads to the node the folder itself reports; the
    // node's name is the one the window shows.
    QString port = path;
    if (path.contains(QLatin1String("/serial/by-"))) {
        // One step only: udev's link leads to the node itself.
        port = QFileInfo(path).symLinkTarget();
        if (port.isEmpty())
            return;
    }
    if (!pending_.contains(port))
        pending_ << port;
    settleTimer_->start();
}

void AutoConnect::deviceRemoved(const QString &)
{
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), [](const QString &p) { return !QFileInfo::exists(p); }),
                   pending_.end());
    const QString connectedPort = w_.shared.ConnectedPort;
    if (!connectedPort.isEmpty() && !QFileInfo::exists(connectedPort)) {
        lost();
        w_.exchange->scan.connectionLost(ssIdle);
    }
}

void AutoConnect::lost()
{
    if (!connected_.isEmpty())
        lost_ = std::exchange(connected_, Identity());
}

bool AutoConnect::lineBusy() const
{
    return w_.scanTimer->isActive() || w_.responseTimer->isActive() || QApplication::activeModalWidget();
}

void AutoConnect::settle()
{
    if (pending_.isEmpty())
        return;
    if (!w_.shared.ConnectedPort.isEmpty() && QFileInfo::exists(w_.shared.ConnectedPort)) {
        pending_.clear(); // connected: a new adapter is the user's business
        return;
    }
    if (lineBusy()) {
        settleTimer_->start(); // a scan or an exchange runs: try again later
        return;
    }
    while (!pending_.isEmpty()) {
        const QString port = pending_.takeFirst();
        if (!QFileInfo::exists(port))
            continue;
        const bool returning = !lost_.isEmpty() && identify(port).sameAdapter(lost_);
        if (!returning && !w_.autoConnectAction->isChecked())
            continue;
        scanning_ = port;
        const QString text = returning ? QStringLiteral("Адаптер %1 снова подключён: соединение")
                                       : QStringLiteral("Подключён порт %1: поиск прибора");
        showTranslated(status_, text.arg(describePort(port)), [this](const QString &t) { return w_.inLanguage(t); });
        emit pluggedScanStarted(port);
        w_.exchange->scan.scanPlugged(port);
        // The rest wait for this scan's end.
        if (!pending_.isEmpty())
            settleTimer_->start();
        return;
    }
}

void AutoConnect::scanFinished(ScanOutcome outcome)
{
    if (outcome == ScanOutcome::Connected) {
        connected_ = identify(w_.shared.ConnectedPort);
        lost_ = {};
    }
    if (scanning_.isEmpty())
        return;
    const QString port = std::exchange(scanning_, QString());
    const auto tr = [this](const QString &t) { return w_.inLanguage(t); };
    if (outcome == ScanOutcome::Connected)
        showTranslated(status_, QString(), tr);
    else if (outcome == ScanOutcome::NoAnswer)
        status_->setText(w_.exchange->scan.triedPortsReport());
    else
        showTranslated(status_, QStringLiteral("Порт %1: прибор другого типа").arg(describePort(port)), tr);
}

} // namespace zarven
