#pragma once
// The values every subsystem of the window shares: which reply the window
// waits for, the packet markers, the port the controller answered on, the
// program's folder, the language and the one-shot backup flag. One instance
// lives in the main window and is handed to the subsystems by reference.

#include <QByteArray>
#include <QDir>
#include <QString>

namespace zarven {

// The exchange state: which reply the window is waiting for. No other value
// is ever stored.
enum SessionStateValue : int {
    ssClosed = 0,
    ssIdentify = 1,
    ssReadSettings = 2,
    ssWriteSettings = 3,
    ssReadKeyTable = 5,
    ssReadKey = 6,
    ssPrepareKeyWrite = 7,
    ssWriteKeys = 8,
    ssIdle = 11,
    ssSignalLevel = 15,
};

struct SharedValues {
    int SessionState = ssClosed;
    QByteArray PacketStart = QByteArray("\xFE\xFF", 2);
    QByteArray PacketStop = QByteArray("\xFF\xFE", 2);
    QString ConnectedPort;
    QString ProgramDir;
    QChar LanguageCode = QLatin1Char('R');
    bool UseBackupFile = false;

    // A file of the program's folder: ProgramDir, the platform's separator,
    // then the name.
    QString programFile(const QString &name) const
    {
        return QDir::toNativeSeparators(QDir(ProgramDir).filePath(name));
    }

    // Every command goes out between the two markers.
    QByteArray framed(const QByteArray &command) const { return PacketStart + command + PacketStop; }
};

} // namespace zarven
