#include "sim_command.h"

#include <array>

namespace zarven::sim {

namespace {

struct NamedCommand {
    SimCommand command;
    const char *name;
};

constexpr std::array<NamedCommand, 9> kNames{{
    {SimCommand::Identify, "Tt"},
    {SimCommand::ReadSettings, "Pt"},
    {SimCommand::WriteSettings, "write"},
    {SimCommand::ReadKeyTable, "Cn"},
    {SimCommand::ReadKey, "Kr"},
    {SimCommand::PrepareKeyWrite, "Wr"},
    {SimCommand::KeyTable, "table"},
    {SimCommand::Cancel, "Ur"},
    {SimCommand::SignalLevel, "Sg"},
}};

} // namespace

std::optional<SimCommand> classifyPacket(const QByteArray &content)
{
    if (content.startsWith(writeCommandPrefix()))
        return SimCommand::WriteSettings;
    for (const NamedCommand &n : kNames) {
        if (n.command == SimCommand::WriteSettings || n.command == SimCommand::KeyTable)
            continue;
        if (content == n.name)
            return n.command;
    }
    return std::nullopt;
}

QString commandName(SimCommand command)
{
    for (const NamedCommand &n : kNames)
        if (n.command == command)
            return QString::fromLatin1(n.name);
    return QString();
}

std::optional<SimCommand> commandFromName(const QString &name)
{
    if (name == QLatin1String("9999"))
        return SimCommand::WriteSettings;
    for (const NamedCommand &n : kNames)
        if (name == QLatin1String(n.name))
            return n.command;
    return std::nullopt;
}

QStringList allCommandNames()
{
    QStringList names;
    for (const NamedCommand &n : kNames)
        names << QString::fromLatin1(n.name);
    return names;
}

} // namespace zarven::sim
