// The port list: the machine's ports from the backend plus the extra paths.

#include "serial/port_list.h"

#include "serial/comport.h"
#include "serial/serial_backend.h"

#include <algorithm>

namespace zarven {

QStringList mergePortLists(const QStringList &systemPorts, const QStringList &extraPorts)
{
    QStringList ports;
    for (const QStringList *list : {&systemPorts, &extraPorts}) {
        for (const QString &port : *list) {
            // Device paths are case-sensitive: only the same text is a duplicate.
            if (!port.isEmpty() && !ports.contains(port))
                ports.append(port);
        }
    }
    std::stable_sort(ports.begin(), ports.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return ports;
}

QStringList ListSerialPorts(const QStringList &extraPorts, bool includeSystemPorts)
{
    QStringList systemPorts;
    if (includeSystemPorts)
        systemPorts = makeSystemSerialBackend()->systemPorts();
    return mergePortLists(systemPorts, extraPorts);
}

} // namespace zarven
