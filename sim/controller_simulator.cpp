#include "controller_simulator.h"

#include "hex_text.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace zarven::sim {

namespace {

const QByteArray kPacketStart("\xFE\xFF", 2);
const QByteArray kPacketStop("\xFF\xFE", 2);

// The answer to a key table that arrives cut short or too long: the table is
// not stored, and the tool hears that the write failed instead of waiting for
// a confirmation that never comes.
const QByteArray kKeyTableRefused = "Er";

} // namespace

ControllerSimulator::ControllerSimulator(SimulatorOptions options, const QDateTime &clock)
    : options_(std::move(options))
{
    if (!options_.statePath.isEmpty() && QFileInfo::exists(options_.statePath))
        state_ = ControllerState::load(options_.statePath, clock);
    else
        state_ = ControllerState::defaults(clock);

    if (options_.signalWalk)
        walk_.emplace(options_.walkSeed);
    framer_.setStartString(kPacketStart);
    framer_.setStopString(kPacketStop);
    framer_.setOnPacket([this](const QByteArray &packet) { handlePacket(packet); });
}

QList<OutgoingChunk> ControllerSimulator::receive(const QByteArray &bytes)
{
    out_.clear();
    framer_.FeedBytes(bytes);
    return std::exchange(out_, {});
}

QByteArray ControllerSimulator::joined(const QList<OutgoingChunk> &chunks)
{
    QByteArray all;
    for (const OutgoingChunk &c : chunks)
        all += c.bytes;
    return all;
}

void ControllerSimulator::handlePacket(const QByteArray &content)
{
    firstOfReply_ = true;
    if (dropRequested_)
        return;
    std::optional<SimCommand> command;
    if (awaitingKeyTable_) {
        // Whatever follows the "OK" ends the wait: a table of the right size
        // is the table; a known command means the tool has given up on the
        // write; anything else is a table that did not arrive whole.
        awaitingKeyTable_ = false;
        if (content.size() == kKeyTableSize)
            command = SimCommand::KeyTable;
        else
            command = classifyPacket(content);
        if (!command)
            command = SimCommand::KeyTable;
    } else {
        command = classifyPacket(content);
    }

    journal(command ? commandName(*command) : QStringLiteral("unknown"));
    if (command && observer_)
        observer_(*command);
    if (!command) {
        log(QStringLiteral("received unknown packet \"%1\": no reply").arg(printableBytes(content)));
        return;
    }

    QString what = commandName(*command);
    if (*command == SimCommand::WriteSettings)
        what += QStringLiteral(" (%1-byte image)").arg(content.size() - writeCommandPrefix().size());
    else if (*command == SimCommand::KeyTable)
        what += QStringLiteral(" (%1 bytes)").arg(content.size());

    if (options_.faults.dropAfter == *command) {
        log(QStringLiteral("received %1: dropping the line").arg(what));
        dropRequested_ = true;
        return;
    }
    if (options_.faults.silent.contains(*command)) {
        log(QStringLiteral("received %1: ignored (silent)").arg(what));
        return;
    }
    const auto wrong = options_.faults.wrong.constFind(*command);
    if (wrong != options_.faults.wrong.cend()) {
        log(QStringLiteral("received %1: wrong reply \"%2\"").arg(what, printableBytes(wrong->bytes)));
        if (wrong->framed)
            sendPacket(wrong->bytes);
        else
            sendBytes(wrong->bytes);
        return;
    }
    log(QStringLiteral("received %1").arg(what));
    carryOut(*command, content);
}

void ControllerSimulator::carryOut(SimCommand command, const QByteArray &content)
{
    switch (command) {
    case SimCommand::Identify:
        sendPacket(options_.modelReply);
        break;
    case SimCommand::ReadSettings:
        sendPacket(state_.settingsImage);
        break;
    case SimCommand::WriteSettings: {
        state_.settingsImage = content.mid(writeCommandPrefix().size());
        const int at = options_.faults.storeChangedAt;
        if (at >= 0 && at < state_.settingsImage.size()) {
            state_.settingsImage[at] = options_.faults.storeChangedByte;
            log(QStringLiteral("image byte %1 stored as %2").arg(at).arg(printableBytes(QByteArray(1, options_.faults.storeChangedByte))));
        }
        persist();
        sendPacket("COK");
        break;
    }
    case SimCommand::ReadKeyTable: {
        const int packets = qBound(1, options_.keyTablePackets, kKeyCount);
        const int recordsPerPacket = (kKeyCount + packets - 1) / packets;
        for (int first = 0; first < kKeyCount; first += recordsPerPacket)
            sendPacket(state_.keyTable.mid(first * kKeyRecordSize, recordsPerPacket * kKeyRecordSize));
        break;
    }
    case SimCommand::ReadKey:
        sendPacket(options_.keyCode);
        break;
    case SimCommand::PrepareKeyWrite:
        awaitingKeyTable_ = true;
        sendPacket("OK");
        break;
    case SimCommand::KeyTable:
        if (content.size() != kKeyTableSize) {
            log(QStringLiteral("key table of %1 bytes instead of %2 refused").arg(content.size()).arg(kKeyTableSize));
            sendPacket(kKeyTableRefused);
            break;
        }
        state_.keyTable = content;
        persist();
        sendPacket("Ok");
        break;
    case SimCommand::Cancel:
        break;
    case SimCommand::SignalLevel:
        sendPacket(walk_ ? signalReplyForLevel(walk_->next()) : options_.signalReply);
        break;
    }
}

void ControllerSimulator::sendPacket(const QByteArray &content)
{
    sendBytes(options_.faults.junk + kPacketStart + content + kPacketStop);
}

void ControllerSimulator::sendBytes(const QByteArray &bytes)
{
    const FaultOptions &f = options_.faults;
    const qsizetype piece = f.chunkSize > 0 ? f.chunkSize : qMax<qsizetype>(bytes.size(), 1);
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        OutgoingChunk chunk;
        if (firstOfReply_)
            chunk.delayMs = f.delayMs;
        else if (f.chunkSize > 0)
            chunk.delayMs = f.chunkGapMs;
        chunk.bytes = bytes.mid(at, piece);
        out_.append(chunk);
        firstOfReply_ = false;
    }
}

void ControllerSimulator::persist()
{
    if (options_.statePath.isEmpty())
        return;
    try {
        state_.save(options_.statePath);
    } catch (const FileError &e) {
        // The controller keeps working from memory; the failure is reported
        // so that nobody believes the state survived.
        if (errorReporter_)
            errorReporter_(e.message());
    }
}

void ControllerSimulator::journal(const QString &what)
{
    if (options_.journalPath.isEmpty())
        return;
    QFile file(options_.journalPath);
    if (!file.open(QIODevice::Append) || file.write(what.toUtf8() + '\n') < 0 || !file.flush()) {
        if (errorReporter_)
            errorReporter_(QStringLiteral("cannot write the journal %1: %2").arg(options_.journalPath, file.errorString()));
    }
}

void ControllerSimulator::log(const QString &line) const
{
    if (logger_)
        logger_(line);
}

} // namespace zarven::sim
