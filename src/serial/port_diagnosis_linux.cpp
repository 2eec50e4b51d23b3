// Port diagnosis on Linux: errno of the failed open, the device node's
// group, and the descriptors of every process under /proc.

#include "serial/port_diagnosis.h"
#include "serial/port_adapter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarven {

namespace {

// The group owning the device node; "dialout" (the usual group of serial
// devices) when it cannot be told or is root's own group, which no user
// should be told to join.
QString deviceGroup(const QString &devicePath)
{
    struct stat st {};
    if (::stat(QFile::encodeName(devicePath).constData(), &st) != 0 || st.st_gid == 0)
        return QStringLiteral("dialout");
    const group *g = ::getgrgid(st.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
}

QString commandName(const QString &processDir)
{
    QFile comm(processDir + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

} // namespace

bool deviceGoneError(int systemCode)
{
    return systemCode == ENOENT || systemCode == ENODEV || systemCode == ENXIO;
}

QList<PortHolder> portHolders(const QString &devicePath, const QString &procRoot)
{
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return {};
    const QString self = QString::number(::getpid());
    QList<PortHolder> holders;
    const QDir proc(procRoot);
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 id = pid.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        // Another user's descriptors are unreadable without privileges; such
        // a holder shows only as a busy device.
        const QDir fds(proc.filePath(pid) + QStringLiteral("/fd"));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            if (fd.isSymLink() && QFileInfo(fd.symLinkTarget()).canonicalFilePath() == device) {
                holders.append({id, commandName(proc.filePath(pid))});
                break;
            }
        }
    }
    return holders;
}

PortDiagnosis diagnosePort(const QString &port, int openError, const QString &procRoot)
{
    PortDiagnosis d;
    d.port = port;
    d.adapter = portAdapter(port).label();
    if (deviceGoneError(openError) || !QFileInfo::exists(port)) {
        d.fault = PortFault::Vanished;
    } else if (openError == EACCES || openError == EPERM) {
        d.fault = PortFault::NoPermission;
        d.group = deviceGroup(port);
    } else if (d.holders = portHolders(port, procRoot); !d.holders.isEmpty() || openError == EBUSY) {
        d.fault = PortFault::HeldByProgram;
    } else if (openError != 0) {
        d.fault = PortFault::OpenFailed;
        d.detail = QString::fromLocal8Bit(std::strerror(openError));
    }
    return d;
}

} // namespace zarven
