#include "plug_cycle.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace zarven::sim {

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "zarven4-sim: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

PlugCycle::PlugCycle(const SimCommandLine &cl, QObject *parent) : QObject(parent), cl_(cl)
{
    idle_.setSingleShot(true);
    idle_.setInterval(cl_.unplugIdleMs);
    connect(&idle_, &QTimer::timeout, this, &PlugCycle::unplug);
    replug_.setSingleShot(true);
    replug_.setInterval(cl_.replugMs);
    connect(&replug_, &QTimer::timeout, this, [this] {
        try {
            plug();
        } catch (const AppError &e) {
            printError(e.message());
            emit finished();
        }
    });
}

PlugCycle::~PlugCycle()
{
    removeLink();
}

void PlugCycle::plug()
{
    if (plugged())
        return;
    ++unit_;
    SimulatorOptions options = cl_.options;
    const bool series = cl_.unplugIdleMs > 0;
    if (series && !options.statePath.isEmpty())
        options.statePath += QStringLiteral(".%1").arg(unit_);
    if (cl_.faultyUnit > 0 && cl_.faultyUnit != unit_)
        options.faults = FaultOptions{};
    simulator_ = std::make_unique<ControllerSimulator>(options);
    if (cl_.verbose)
        simulator_->setLogger([](const QString &line) { printError(line); });
    simulator_->setErrorReporter([](const QString &line) { printError(QStringLiteral("error: ") + line); });
    simulator_->setCommandObserver([this](SimCommand c) { commandSeen(c); });
    host_ = std::make_unique<PtyHost>(*simulator_);
    // The pulled adapter does not come back: the simulator ends with it.
    connect(host_.get(), &PtyHost::lineDropped, this, [this] {
        printError(QStringLiteral("line dropped"));
        emit finished();
    });
    host_->open();
    written_ = false;
    if (!cl_.linkPath.isEmpty() && !makeLink(host_->devicePath()))
        throw AppError(QStringLiteral("the link cannot be made"));
    if (cl_.verbose && series)
        printError(QStringLiteral("controller %1 plugged on %2").arg(unit_).arg(host_->devicePath()));
}

void PlugCycle::unplug()
{
    if (!plugged())
        return;
    idle_.stop();
    removeLink();
    // Destroyed later, the simulator after its host: this may run inside
    // the host's own event.
    PtyHost *host = host_.release();
    ControllerSimulator *simulator = simulator_.release();
    connect(host, &QObject::destroyed, [simulator] { delete simulator; });
    host->deleteLater();
    if (cl_.verbose)
        printError(QStringLiteral("controller %1 unplugged").arg(unit_));
    if (cl_.units > 0 && unit_ >= cl_.units) {
        emit finished();
        return;
    }
    if (cl_.unplugIdleMs > 0)
        replug_.start();
}

void PlugCycle::toggle()
{
    if (plugged())
        unplug();
    else
        replug_.start(0);
}

void PlugCycle::commandSeen(SimCommand command)
{
    if (cl_.unplugIdleMs <= 0)
        return;
    if (command == SimCommand::WriteSettings)
        written_ = true;
    if (written_ && command != SimCommand::Identify)
        idle_.start();
}

bool PlugCycle::makeLink(const QString &target)
{
    // An existing symbolic link there (a left-over of an earlier run) is
    // replaced; any other file is kept and the start fails, so that nothing
    // of the user's is overwritten.
    const QFileInfo existing(cl_.linkPath);
    if (existing.isSymLink()) {
        if (!QFile::remove(cl_.linkPath)) {
            printError(QStringLiteral("cannot replace the link %1").arg(cl_.linkPath));
            return false;
        }
    } else if (existing.exists()) {
        printError(QStringLiteral("%1 exists and is not a symbolic link; not replaced").arg(cl_.linkPath));
        return false;
    }
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(cl_.linkPath).constData()) != 0) {
        printError(QStringLiteral("cannot create the link %1: %2")
                       .arg(cl_.linkPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

void PlugCycle::removeLink()
{
    if (cl_.linkPath.isEmpty() || !host_)
        return;
    const QFileInfo link(cl_.linkPath);
    if (link.isSymLink() && link.symLinkTarget() == host_->devicePath())
        QFile::remove(cl_.linkPath);
}

} // namespace zarven::sim
