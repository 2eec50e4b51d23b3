#pragma once
// The port list's rules, apart from where the machine's ports come from.

#include <QStringList>

namespace zarven {

// The machine's ports plus every extra device path as given (no checks:
// pseudo-terminals are welcome), each once, sorted as text without regard to
// case (COM1, COM10, COM2). Empty names are left out.
QStringList mergePortLists(const QStringList &systemPorts, const QStringList &extraPorts);

} // namespace zarven
