#include "file_bytes.h"

#include "core/cp1251.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace zarven::test {

QByteArray readFileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray cp1251Lines(const QStringList &texts)
{
    QByteArray out;
    for (const QString &t : texts)
        out += toCp1251(t) + "\r\n";
    return out;
}

QString readText(const QString &path)
{
    return fromCp1251(readFileBytes(path));
}

void writeText(const QString &path, const QString &text)
{
    writeFileBytes(path, toCp1251(text));
}

QString freshFilePath(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
    return path;
}

} // namespace zarven::test
