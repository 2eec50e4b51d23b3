#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zarven {

QString programFolder(const QString &workDir)
{
    if (!workDir.isEmpty())
        return QDir::toNativeSeparators(QDir(workDir).absolutePath());
    // The generic location does not depend on the application's name, so
    // the window and the batch commands share one folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(QDir(data).absoluteFilePath(kProgramFolderName));
}

bool ensureProgramFolder(const QString &folder)
{
    QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

} // namespace zarven
