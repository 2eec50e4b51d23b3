#pragma once
// The window's log: an ordered list of lines that the packet handler, the
// signal query, the settings decoder and the configuration load append to.
// Lines are held as code page 1251 bytes, exactly as they are written to
// log.log and LoadFile.rep.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

namespace zarven {

class EventLog : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Adds one entry. The entry ends at its first zero byte; a CR LF pair
    // inside it starts a new line.
    void add(const QByteArray &entry);
    void add(const QString &entry);

    const QList<QByteArray> &lines() const { return lines_; }
    QStringList textLines() const;
    // Every line followed by CR LF, bytes as held.
    QByteArray fileContent() const;
    // Writes the whole log to a file, replacing it; throws FileError.
    void writeTo(const QString &path) const;

signals:
    void lineAdded(const QString &line);

private:
    QList<QByteArray> lines_;
};

// Writes bytes to path, replacing any earlier file only when everything was
// written: the bytes go to a temporary file beside the target first. Throws
// FileError with a message naming the path.
void writeFileAtomically(const QString &path, const QByteArray &content);

} // namespace zarven
