#pragma once
// The commands the controller knows, how a received packet is recognised as
// one of them, and the names by which the command line and the log refer to
// them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace zarven::sim {

enum class SimCommand {
    Identify,        // "Tt"
    ReadSettings,    // "Pt"
    WriteSettings,   // 99 99 hex followed by the settings image
    ReadKeyTable,    // "Cn"
    ReadKey,         // "Kr"
    PrepareKeyWrite, // "Wr"
    KeyTable,        // the 250-byte key table stream that follows "Wr"
    Cancel,          // "Ur"
    SignalLevel,     // "Sg"
};

// The two bytes that start the settings write.
inline const QByteArray &writeCommandPrefix()
{
    static const QByteArray prefix("\x99\x99", 2);
    return prefix;
}

// The command a packet's content is, outside the wait for a key table.
// Commands are matched as whole packets, except the settings write, which is
// any packet starting with 99 99 hex. The key table stream is never returned
// here: only the wait after "Wr" knows a packet to be one.
std::optional<SimCommand> classifyPacket(const QByteArray &content);

// "Tt", "Pt", "write", "Cn", "Kr", "Wr", "table", "Ur", "Sg".
QString commandName(SimCommand command);
// The reverse of commandName; "9999" is taken for "write" as well, and the
// two-letter names must match in case as on the line.
std::optional<SimCommand> commandFromName(const QString &name);
QStringList allCommandNames();

} // namespace zarven::sim
