#pragma once
// PlugCycle: the simulated controller as an installer's bench sees it, one
// controller after another on the same link. Plugging one makes a fresh
// controller on a new pseudo-terminal and points the link at it; unplugging
// removes the link and closes the terminal, which the tool sees as a pulled
// adapter. With an idle time set, a controller that has had its settings
// written is unplugged once the tool has sent nothing but "Tt" for that
// long, and the next is plugged a while later.

#include "controller_simulator.h"
#include "pty_host.h"
#include "sim_command_line.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace zarven::sim {

class PlugCycle : public QObject {
    Q_OBJECT
public:
    explicit PlugCycle(const SimCommandLine &cl, QObject *parent = nullptr);
    ~PlugCycle() override;

    // Plugs the next controller; throws what the simulator and host throw.
    void plug();
    void unplug();
    // SIGUSR1: unplugs a plugged controller, plugs the next otherwise.
    void toggle();
    bool plugged() const { return host_ != nullptr; }
    QString devicePath() const { return host_ ? host_->devicePath() : QString(); }

signals:
    // The last controller of the series has gone, or a line was dropped.
    void finished();

private:
    void commandSeen(SimCommand command);
    bool makeLink(const QString &target);
    void removeLink();

    SimCommandLine cl_;
    int unit_ = 0; // controllers plugged so far
    bool written_ = false;
    std::unique_ptr<ControllerSimulator> simulator_;
    std::unique_ptr<PtyHost> host_;
    QTimer idle_;
    QTimer replug_;
};

} // namespace zarven::sim
