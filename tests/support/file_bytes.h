#pragma once
// Reading and writing whole files in tests, as bytes or as code page 1251
// text (the encoding of the program's own files).

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTemporaryDir;

namespace zarven::test {

// The file's bytes; empty when it cannot be read.
QByteArray readFileBytes(const QString &path);
// Replaces the file's content; a file that cannot be opened or written fails
// the current test.
void writeFileBytes(const QString &path, const QByteArray &bytes);

// The same for text in code page 1251.
QString readText(const QString &path);
void writeText(const QString &path, const QString &text);

// The texts in code page 1251, each line ended by CR LF, as the program's
// configuration and key files hold them.
QByteArray cp1251Lines(const QStringList &texts);

// The path of the file name in dir, with no file there: one that an earlier
// test left, read-only or not, is removed.
QString freshFilePath(const QTemporaryDir &dir, const QString &name);

} // namespace zarven::test
