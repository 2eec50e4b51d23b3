#pragma once
// The system check ("Проверка системы", zarven4-config doctor): what on this
// machine stands between the installer and the controller's port, each
// finding either fine or the problem with the exact command that fixes it:
//   - the user's access to every serial device (group or uaccess ACL);
//   - another program holding a port (name and process id);
//   - an FTDI adapter's latency timer above 1 ms;
//   - ModemManager running, and whether udev marked each USB adapter
//     ID_MM_DEVICE_IGNORE (read back with udevadm, so a misspelled rule is
//     caught);
//   - a brltty udev rule that claims CH340 and CP210x adapters.
// Everything the check reads goes through a SystemProbe.

#include "system/system_probe.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zarven {

struct DoctorFinding {
    bool ok = true;
    QString text; // one line, in the language of the translate function
};

struct DoctorReport {
    QList<DoctorFinding> findings;
    bool allWell() const;
    // One line per finding, "[ok] " or "[!!] " in front, LF between them.
    QString text() const;
};

// The USB ids (vendor, product) the package's udev rule covers.
struct UsbId {
    const char *vendor;
    const char *product;
};
const QList<UsbId> &ruleAdapters();
// The rule's file name under /usr/lib/udev/rules.d.
inline constexpr char kUdevRuleName[] = "70-zarven4-config.rules";

using DoctorTranslate = std::function<QString(const QString &russian)>;

// Checks the machine's serial ports and the extra ports given. Templates go
// through translate before their parts are put in.
DoctorReport runDoctor(const SystemProbe &probe, const QStringList &extraPorts, const DoctorTranslate &translate);

} // namespace zarven
