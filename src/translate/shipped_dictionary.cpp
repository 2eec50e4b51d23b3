#include "translate/shipped_dictionary.h"

#include "translate/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

// The resources are compiled into the core library, which is static: without
// a reference to them the linker leaves them out.
static void registerBuiltInResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace zarven {

QByteArray shippedDictionary()
{
    registerBuiltInResources();
    QFile file(kShippedDictionaryResource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString shippedDictionaryFile()
{
    const QString relative = QStringLiteral("zarven4-config/") + kDictionaryName;
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + relative;
    // The per-user folder is where the copy goes, never where it comes from.
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (QDir(dir) != QDir(userData))
            candidates << dir + QLatin1Char('/') + relative;
#ifdef ZARVEN_SOURCE_DATA_DIR
    candidates << QStringLiteral(ZARVEN_SOURCE_DATA_DIR "/") + kDictionaryName;
#endif
    for (const QString &path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    registerBuiltInResources();
    return kShippedDictionaryResource;
}

bool installShippedDictionary(const QString &programDir)
{
    const QString target = QDir(programDir).filePath(kDictionaryName);
    if (QFileInfo::exists(target))
        return QFileInfo(target).isFile();
    // QFile::copy never replaces an existing file, so a dictionary that
    // appears in the meantime is kept as well.
    if (!QFile::copy(shippedDictionaryFile(), target))
        return false;
    // A copy of a resource or of installed data is read-only; the dictionary must take the
    // write-backs of missing texts.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                      | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

} // namespace zarven
