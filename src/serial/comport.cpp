// Placeholder until the termios backend lands: every open fails.
#include "serial/comport.h"
#include "serial/serial_backend.h"

namespace zarven {

EComPort::EComPort(int index, int systemCode)
    : AppError(indexText(index)), index_(index), systemCode_(systemCode) {}
QString EComPort::indexText(int) { return QStringLiteral("Unable to open com port"); }
TComPort::TComPort(QObject *parent) : QObject(parent) {}
TComPort::~TComPort() = default;
void TComPort::setPort(const QString &name) { port_ = name; }
bool TComPort::Connected() const { return false; }
void TComPort::OpenPort() { throw EComPort(EComPort::OpenFailed); }
void TComPort::ClosePort() {}
void TComPort::PurgePort(bool, bool) { throw EComPort(EComPort::PurgeFailed); }
qint64 TComPort::SendString(const QByteArray &) { throw EComPort(EComPort::WriteFailed); }
QByteArray TComPort::ReadUpTo(int) { return {}; }
QStringList ListSerialPorts(const QStringList &extra, bool) { return extra; }

} // namespace zarven
