// The system check. Each check is a function adding its findings; the
// templates are Russian, with the run-time parts (ports, commands, process
// ids) as %1, %2 ... so that the dictionary holds one entry per template.

#include "system/doctor.h"

#include "serial/port_adapter.h"
#include "serial/port_diagnosis.h"
#include "serial/port_list.h"
#include "serial/port_list_linux.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <sys/stat.h>

namespace zarven {

namespace {

const char kReloadUdev[] = "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=tty --action=change";

class Doctor {
public:
    Doctor(const SystemProbe &probe, const DoctorTranslate &translate) : probe_(probe), translate_(translate) {}

    DoctorReport report;

    void checkPorts(const QStringList &extraPorts);
    void checkModemManager();
    void checkBrltty();

private:
    QString tr(const char *russianUtf8) const
    {
        const QString russian = QString::fromUtf8(russianUtf8);
        return translate_ ? translate_(russian) : russian;
    }
    void add(bool ok, const QString &text) { report.findings.append({ok, text}); }
    QString shown(const QString &port) const { return portWithAdapter(port, adapters_.value(port)); }

    void checkAccess(const QString &port);
    void checkHolders(const QString &port);
    void checkLatency(const QString &port);
    QString groupOf(const QString &port) const;
    QStringList groupMembers(const QString &group) const;
    bool modemManagerRunning() const;

    const SystemProbe &probe_;
    DoctorTranslate translate_;
    QStringList ports_;
    QHash<QString, PortAdapter> adapters_;
};

QString Doctor::groupOf(const QString &port) const
{
    struct stat st {};
    if (::stat(QFile::encodeName(probe_.path(port)).constData(), &st) != 0 || st.st_gid == 0)
        return QStringLiteral("dialout");
    QFile groups(probe_.path(QStringLiteral("/etc/group")));
    if (groups.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : groups.readAll().split('\n')) {
            const QList<QByteArray> f = line.split(':');
            if (f.size() >= 3 && f[2].toUInt() == st.st_gid)
                return QString::fromLocal8Bit(f[0]);
        }
    }
    return QString::number(st.st_gid);
}

QStringList Doctor::groupMembers(const QString &group) const
{
    QFile groups(probe_.path(QStringLiteral("/etc/group")));
    if (!groups.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : groups.readAll().split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(':');
        if (f.size() >= 4 && QString::fromLocal8Bit(f[0]) == group)
            return QString::fromLocal8Bit(f[3]).split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
    return {};
}

void Doctor::checkPorts(const QStringList &extraPorts)
{
    const QString devRoot = probe_.path(QStringLiteral("/dev"));
    QStringList system;
    for (const QString &node : sysfsSerialPorts(probe_.path(QStringLiteral("/sys")), devRoot,
                                                [this](const QString &n) { return probe_.uartPresent(n); }))
        system << node.mid(probe_.root().size());
    ports_ = mergePortLists(system, extraPorts);
    if (ports_.isEmpty()) {
        add(false, tr("Последовательные порты не найдены. Подключите USB-адаптер прибора."));
        return;
    }
    for (const QString &port : std::as_const(ports_)) {
        adapters_.insert(port, portAdapter(port, probe_.root()));
        if (!QFileInfo::exists(probe_.path(port))) {
            add(false, tr("%1: устройство отключено.").arg(port));
            continue;
        }
        checkAccess(port);
        checkHolders(port);
        checkLatency(port);
    }
}

void Doctor::checkAccess(const QString &port)
{
    if (probe_.canOpen(probe_.path(port))) {
        add(true, tr("%1: доступ к порту есть").arg(shown(port)));
        return;
    }
    const QString group = groupOf(port);
    const QString user = probe_.userName();
    if (groupMembers(group).contains(user) && !probe_.sessionGroups().contains(group)) {
        add(false, tr("%1: пользователь %2 уже в группе %3, но сеанс начат раньше. Исправить: войдите в систему заново")
                       .arg(shown(port), user, group));
        return;
    }
    add(false, tr("%1: нет прав на порт. Исправить: %2, затем войдите в систему заново")
                   .arg(shown(port), QStringLiteral("sudo usermod -aG %1 %2").arg(group, user)));
}

void Doctor::checkHolders(const QString &port)
{
    const QList<PortHolder> holders = portHolders(probe_.path(port), probe_.path(QStringLiteral("/proc")));
    if (holders.isEmpty()) {
        add(true, tr("%1: порт свободен").arg(shown(port)));
        return;
    }
    for (const PortHolder &h : holders) {
        // A service comes back when only its process is killed.
        QString fix = QStringLiteral("kill %1").arg(h.pid);
        if (h.name == QLatin1String("ModemManager"))
            fix = QStringLiteral("sudo systemctl stop ModemManager");
        else if (h.name == QLatin1String("brltty"))
            fix = QStringLiteral("sudo systemctl stop brltty");
        add(false, tr("%1: порт занят программой %2 (PID %3). Исправить: %4")
                       .arg(shown(port), h.name.isEmpty() ? QStringLiteral("?") : h.name, QString::number(h.pid), fix));
    }
}

void Doctor::checkLatency(const QString &port)
{
    const PortAdapter &a = adapters_[port];
    if (a.driver != QLatin1String("ftdi_sio"))
        return;
    const QString name = QFileInfo(a.device).fileName();
    QFile f(probe_.path(QStringLiteral("/sys/class/tty/%1/device/latency_timer").arg(name)));
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QString ms = QString::fromLatin1(f.readAll()).trimmed();
    if (ms == QLatin1String("1")) {
        add(true, tr("%1: задержка адаптера FTDI 1 мс").arg(shown(port)));
        return;
    }
    add(false, tr("%1: задержка адаптера FTDI %2 мс вместо 1. Исправить: %3")
                   .arg(shown(port), ms,
                        QStringLiteral("echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer").arg(name)));
}

bool Doctor::modemManagerRunning() const
{
    const CommandResult r = probe_.run(QStringLiteral("systemctl"), {QStringLiteral("is-active"), QStringLiteral("ModemManager")});
    if (r.ran && r.output.trimmed() == QLatin1String("active"))
        return true;
    // Without systemd (a container, another init) the process list tells.
    const QDir proc(probe_.path(QStringLiteral("/proc")));
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(proc.filePath(pid) + QStringLiteral("/comm"));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "ModemManager")
            return true;
    }
    return false;
}

void Doctor::checkModemManager()
{
    if (!modemManagerRunning()) {
        add(true, tr("ModemManager не запущен"));
        return;
    }
    add(true, tr("ModemManager запущен"));
    const bool ruleInstalled = QFileInfo::exists(probe_.path(QStringLiteral("/usr/lib/udev/rules.d/")) + QLatin1String(kUdevRuleName));
    for (const QString &port : std::as_const(ports_)) {
        const PortAdapter &a = adapters_[port];
        if (!a.isUsb())
            continue;
        const CommandResult r = probe_.run(QStringLiteral("udevadm"),
                                           {QStringLiteral("info"), QStringLiteral("--query=property"), QStringLiteral("--name=") + a.device});
        if (!r.ran || r.exitCode != 0) {
            add(false, tr("%1: udev не отвечает, ModemManager может занять порт. Исправить: %2")
                           .arg(shown(port), QStringLiteral("sudo systemctl stop ModemManager")));
            continue;
        }
        if (r.output.split(QLatin1Char('\n')).contains(QStringLiteral("ID_MM_DEVICE_IGNORE=1"))) {
            add(true, tr("%1: ModemManager не трогает порт").arg(shown(port)));
            continue;
        }
        bool covered = false;
        for (const UsbId &id : ruleAdapters())
            covered = covered || (a.vendorId == QLatin1String(id.vendor) && a.productId == QLatin1String(id.product));
        // The package's rule covers the adapter but udev has not applied it;
        // any other adapter gets a rule of its own.
        const QString fix = ruleInstalled && covered
            ? QString::fromLatin1(kReloadUdev)
            : QStringLiteral("echo 'SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                             "ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | sudo tee -a /etc/udev/rules.d/71-zarven4-local.rules && %3")
                  .arg(a.vendorId, a.productId, QString::fromLatin1(kReloadUdev));
        add(false, tr("%1: ModemManager может занять порт: нет ID_MM_DEVICE_IGNORE. Исправить: %2").arg(shown(port), fix));
    }
}

void Doctor::checkBrltty()
{
    // brltty's rule names the USB ids as "1a86/7523/*" (or idVendor and
    // idProduct); a file of the same name in /etc/udev/rules.d that leads
    // to /dev/null, or is empty, masks it.
    static const QRegularExpression claims(QStringLiteral("1a86/7523|10c4/ea60|idVendor}==\"(1a86|10c4)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList claiming;
    for (const char *folder : {"/usr/lib/udev/rules.d", "/lib/udev/rules.d", "/etc/udev/rules.d"}) {
        const QDir dir(probe_.path(QLatin1String(folder)));
        for (const QFileInfo &rule : dir.entryInfoList({QStringLiteral("*.rules")}, QDir::Files | QDir::System)) {
            if (!rule.fileName().contains(QLatin1String("brltty"), Qt::CaseInsensitive) || claiming.contains(rule.fileName()))
                continue;
            const QFileInfo mask(probe_.path(QStringLiteral("/etc/udev/rules.d/")) + rule.fileName());
            if (mask.exists() && (mask.size() == 0 || mask.symLinkTarget() == QLatin1String("/dev/null")))
                continue;
            QFile f(rule.filePath());
            if (!f.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : f.readAll().split('\n')) {
                const QString text = QString::fromUtf8(line).trimmed();
                if (!text.startsWith(QLatin1Char('#')) && claims.match(text).hasMatch()) {
                    claiming << rule.fileName();
                    break;
                }
            }
        }
    }
    if (claiming.isEmpty()) {
        add(true, tr("brltty не забирает адаптеры CH340 и CP210x"));
        return;
    }
    for (const QString &name : std::as_const(claiming))
        add(false, tr("Правило brltty %1 забирает адаптеры CH340 и CP210x. Исправить: %2")
                       .arg(name, QStringLiteral("sudo ln -s /dev/null /etc/udev/rules.d/%1 && %2")
                                      .arg(name, QString::fromLatin1(kReloadUdev))));
}

} // namespace

const QList<UsbId> &ruleAdapters()
{
    static const QList<UsbId> ids = {
        {"0403", "6001"}, {"0403", "6010"}, {"0403", "6011"}, {"0403", "6014"}, {"0403", "6015"},
        {"10c4", "ea60"}, {"1a86", "7523"}, {"1a86", "55d4"}, {"067b", "2303"},
    };
    return ids;
}

bool DoctorReport::allWell() const
{
    for (const DoctorFinding &f : findings)
        if (!f.ok)
            return false;
    return true;
}

QString DoctorReport::text() const
{
    QStringList lines;
    for (const DoctorFinding &f : findings)
        lines << (f.ok ? QStringLiteral("[ok] ") : QStringLiteral("[!!] ")) + f.text;
    return lines.join(QLatin1Char('\n'));
}

DoctorReport runDoctor(const SystemProbe &probe, const QStringList &extraPorts, const DoctorTranslate &translate)
{
    Doctor d(probe, translate);
    d.checkPorts(extraPorts);
    d.checkModemManager();
    d.checkBrltty();
    return d.report;
}

} // namespace zarven
