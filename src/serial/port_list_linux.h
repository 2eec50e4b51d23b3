#pragma once
// The machine's serial ports on Linux, from the tty class in sysfs.

#include <QString>
#include <QStringList>
#include <functional>

namespace zarven {

// Whether a serial8250 slot has a UART behind it: TIOCGSERIAL on the device
// reports a known UART type. The legacy 8250 driver registers a fixed number
// of slots whether or not there is hardware; the placeholders answer
// PORT_UNKNOWN. An unopenable device counts as absent.
bool serial8250UartPresent(const QString &devicePath);

// The ttys under sysfsRoot/class/tty with hardware behind them, as
// devRoot/<name> paths, in the directory's order:
// - an entry without a device link, or whose device resolves under
//   sysfsRoot/devices/virtual, is a virtual terminal and left out;
// - a serial8250 slot (bound to the serial8250 driver or sitting under the
//   platform device "serial8250") counts only when uartPresent says so;
// - an entry without its device node under devRoot is left out (a container
//   sees the host's sysfs but not its devices).
QStringList sysfsSerialPorts(const QString &sysfsRoot, const QString &devRoot,
                             const std::function<bool(const QString &devicePath)> &uartPresent);

} // namespace zarven
