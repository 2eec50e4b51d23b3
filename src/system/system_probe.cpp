// The machine's own probe.

#include "system/system_probe.h"

#include "serial/port_list_linux.h"

#include <QFile>
#include <QProcess>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace zarven {

namespace {

class MachineProbe : public SystemProbe {
public:
    QString root() const override { return {}; }

    CommandResult run(const QString &program, const QStringList &args) const override
    {
        CommandResult r;
        QProcess p;
        p.start(program, args);
        if (!p.waitForStarted(3000))
            return r;
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.ran = p.exitStatus() == QProcess::NormalExit;
        r.exitCode = p.exitCode();
        r.output = QString::fromLocal8Bit(p.readAllStandardOutput());
        return r;
    }

    bool canOpen(const QString &devicePath) const override
    {
        return ::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) == 0;
    }

    QString userName() const override
    {
        const passwd *pw = ::getpwuid(::getuid());
        return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(::getuid());
    }

    QStringList sessionGroups() const override
    {
        QStringList names;
        const int count = ::getgroups(0, nullptr);
        std::vector<gid_t> ids(size_t(count > 0 ? count : 0) + 1);
        const int n = ::getgroups(int(ids.size()), ids.data());
        ids.resize(size_t(n > 0 ? n : 0));
        ids.push_back(::getegid());
        for (gid_t id : ids) {
            const group *g = ::getgrgid(id);
            const QString name = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(id);
            if (!names.contains(name))
                names << name;
        }
        return names;
    }

    bool uartPresent(const QString &devicePath) const override { return serial8250UartPresent(devicePath); }
};

} // namespace

std::unique_ptr<SystemProbe> makeMachineProbe()
{
    return std::make_unique<MachineProbe>();
}

} // namespace zarven
