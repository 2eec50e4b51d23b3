#include "core/event_log.h"

#include "core/cp1251.h"
#include "core/errors.h"

#include <QSaveFile>

namespace zarven {

void EventLog::add(const QByteArray &entry)
{
    QByteArray text = entry;
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    qsizetype from = 0;
    for (;;) {
        const qsizetype crlf = text.indexOf("\r\n", from);
        const QByteArray line = text.mid(from, crlf < 0 ? -1 : crlf - from);
        lines_.append(line);
        emit lineAdded(fromCp1251(line));
        if (crlf < 0)
            break;
        from = crlf + 2;
    }
}

void EventLog::add(const QString &entry)
{
    add(toCp1251(entry));
}

QStringList EventLog::textLines() const
{
    QStringList out;
    for (const auto &l : lines_)
        out << fromCp1251(l);
    return out;
}

QByteArray EventLog::fileContent() const
{
    QByteArray out;
    for (const auto &l : lines_)
        out += l + "\r\n";
    return out;
}

void EventLog::writeTo(const QString &path) const
{
    writeFileAtomically(path, fileContent());
}

void writeFileAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    // Unbuffered, so that a failing write (a full disk) shows in write()'s
    // result: a buffered one would fail only in the flush inside commit(),
    // which commits the short file all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(content) != content.size()) {
        // A short write without an error of its own: the disk is full.
        const QString reason = file.error() == QFileDevice::NoError
            ? QStringLiteral("Only part of the data could be written; the disk may be full")
            : file.errorString();
        file.cancelWriting();
        throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
    }
    if (!file.commit())
        throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace zarven
