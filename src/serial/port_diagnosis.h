#pragma once
// Why a serial port gave nothing: after a scan without a controller the
// window tells the user, port by port, what stands in the way and how to fix
// it. The checks are the operating system's (permissions, which processes
// hold the device, whether the device still exists); the Linux ones live in
// port_diagnosis_linux.cpp.

#include <QList>
#include <QString>

namespace zarven {

enum class PortFault {
    NoAnswer,      // opened, written to, nothing came back
    NoPermission,  // the user may not open the device
    HeldByProgram, // another process has the device open
    Vanished,      // the device is gone (adapter unplugged)
    OpenFailed,    // another system error; detail says which
};

struct PortHolder {
    qint64 pid = 0;
    QString name; // the process's command name
    bool operator==(const PortHolder &) const = default;
};

struct PortDiagnosis {
    QString port;
    PortFault fault = PortFault::NoAnswer;
    QString group;             // NoPermission: the group that may open the device
    QList<PortHolder> holders; // HeldByProgram: who has it open (may be unknown)
    QString detail;            // OpenFailed: the system's description
    QString adapter;           // the adapter's label, when sysfs knows it
    // The port as the lines show it: "/dev/ttyUSB0 (FTDI FT232R, A10K3XYZ)".
    QString shownPort() const { return adapter.isEmpty() ? port : port + QStringLiteral(" (") + adapter + QLatin1Char(')'); }
};

// Diagnoses one port that the scan tried. openError is the system error code
// of a failed open (SerialPortError::systemCode()), 0 when the port opened. The
// processes are looked for under procRoot; this process never counts.
PortDiagnosis diagnosePort(const QString &port, int openError, const QString &procRoot = QStringLiteral("/proc"));

// The processes under procRoot with a descriptor open on the device
// (compared after resolving links), except this process, by process id.
QList<PortHolder> portHolders(const QString &devicePath, const QString &procRoot = QStringLiteral("/proc"));

// Whether an open's system error code means that the device does not exist
// (any more).
bool deviceGoneError(int systemCode);

} // namespace zarven
