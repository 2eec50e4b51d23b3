#pragma once
// The machine as the system check sees it, behind one seam: a root folder
// under which /sys, /dev, /proc, /etc and /usr/lib/udev are read, the tools
// it asks (udevadm, systemctl), and who the user is. The machine's own probe
// reads the real tree and runs the real tools; tests give a fake tree and
// scripted answers.

#include <QString>
#include <QStringList>
#include <memory>

namespace zarven {

struct CommandResult {
    bool ran = false; // false: the program is not there or did not start
    int exitCode = -1;
    QString output; // standard output
};

class SystemProbe {
public:
    virtual ~SystemProbe() = default;
    // "" for the machine's own tree.
    virtual QString root() const = 0;
    // Runs a program and waits a few seconds at most for it.
    virtual CommandResult run(const QString &program, const QStringList &args) const = 0;
    // Whether this user may open the device for reading and writing (file
    // modes, groups and ACLs all count).
    virtual bool canOpen(const QString &devicePath) const = 0;
    virtual QString userName() const = 0;
    // The groups this process runs with (a group joined since the login is
    // not among them until the user logs in again).
    virtual QStringList sessionGroups() const = 0;
    // Whether a legacy 8250 slot has a UART behind it.
    virtual bool uartPresent(const QString &devicePath) const = 0;

    // A system path inside the probe's tree.
    QString path(const QString &systemPath) const { return root() + systemPath; }
};

std::unique_ptr<SystemProbe> makeMachineProbe();

} // namespace zarven
