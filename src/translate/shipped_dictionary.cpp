#include "translate/shipped_dictionary.h"

#include "translate/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool installShippedDictionary(const QString &programDir)
{
    registerBuiltInResources();
    const QString target = QDir(programDir).filePath(kDictionaryName);
    if (QFileInfo::exists(target))
        return QFileInfo(target).isFile();
    // QFile::copy never replaces an existing file, so a dictionary that
    // appears in the meantime is kept as well.
    if (!QFile::copy(kShippedDictionaryResource, target))
        return false;
    // A copy of a resource is read-only; the dictionary must take the
    // write-backs of missing texts.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                      | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

} // namespace zarven
