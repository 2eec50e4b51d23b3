#include "controller_state.h"

#include "default_state.h"
#include "hex_text.h"

#include <QFile>
#include <QSaveFile>

namespace zarven::sim {

namespace {

const QByteArray kHeader = "zarven4-sim state 1";

// One line of spaced hexadecimal per field keeps the file trivial to parse
// and still readable.
QByteArray spacedHex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper();
}

[[noreturn]] void fail(const QString &path, int line, const QString &what)
{
    if (line > 0)
        throw FileError(QStringLiteral("State file %1, line %2: %3").arg(path).arg(line).arg(what));
    throw FileError(QStringLiteral("State file %1: %2").arg(path, what));
}

} // namespace

ControllerState ControllerState::defaults(const QDateTime &clock)
{
    return ControllerState{defaultSettingsImage(clock), defaultKeyTable()};
}

ControllerState ControllerState::load(const QString &path, const QDateTime &clock)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, 0, QStringLiteral("cannot be read (%1)").arg(file.errorString()));
    const QList<QByteArray> lines = file.readAll().split('\n');

    ControllerState state = defaults(clock);
    bool headerSeen = false;
    int number = 0;
    for (QByteArray line : lines) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                fail(path, number, QStringLiteral("expected \"%1\"").arg(QString::fromLatin1(kHeader)));
            headerSeen = true;
            continue;
        }
        const qsizetype blank = line.indexOf(' ');
        const QByteArray key = blank < 0 ? line : line.left(blank);
        const QString value = blank < 0 ? QString() : QString::fromLatin1(line.mid(blank + 1));
        QString error;
        const auto bytes = parseHexBytes(value, &error);
        if (!bytes)
            fail(path, number, error);
        if (key == "image") {
            state.settingsImage = *bytes;
        } else if (key == "keys") {
            if (bytes->size() != kKeyTableSize)
                fail(path, number, QStringLiteral("the key table has %1 bytes instead of %2")
                                       .arg(bytes->size()).arg(kKeyTableSize));
            state.keyTable = *bytes;
        } else {
            fail(path, number, QStringLiteral("unknown entry \"%1\"").arg(QString::fromLatin1(key)));
        }
    }
    if (!headerSeen)
        fail(path, 0, QStringLiteral("is empty"));
    return state;
}

QByteArray ControllerState::toFileText() const
{
    QByteArray text = kHeader + '\n';
    text += "image " + spacedHex(settingsImage) + '\n';
    text += "keys " + spacedHex(keyTable) + '\n';
    return text;
}

void ControllerState::save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, 0, QStringLiteral("cannot be written (%1)").arg(file.errorString()));
    file.write(toFileText());
    if (!file.commit())
        fail(path, 0, QStringLiteral("cannot be written (%1)").arg(file.errorString()));
}

} // namespace zarven::sim
