#pragma once
// How the simulated controller answers, and which faults it plays.

#include "default_state.h"
#include "sim_command.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

namespace zarven::sim {

// A reply put in place of the right one.
struct WrongReply {
    QByteArray bytes;
    // Framed: the bytes are the content of an ordinary reply packet. Raw:
    // they go on the line exactly as given, markers only where they contain
    // them, so torn or unframed replies can be played.
    bool framed = true;
};

struct FaultOptions {
    // Commands the controller ignores: no reply and no effect.
    QSet<SimCommand> silent;
    // Commands answered with other bytes; the command has no effect (a
    // controller that answers oddly has not done what it was asked).
    QMap<SimCommand, WrongReply> wrong;
    // Time from a command to the first byte of its reply.
    int delayMs = 0;
    // Replies cut into pieces of this many bytes (0: whole), gapMs apart.
    int chunkSize = 0;
    int chunkGapMs = 5;
    // Bytes sent in front of every reply packet.
    QByteArray junk;
    // A settings write is stored with the image byte at this position (from
    // 0, after the write command) replaced by storeChangedByte, and still
    // acknowledged "COK": a controller that keeps something else than it
    // was sent. -1: writes are stored as sent.
    int storeChangedAt = -1;
    char storeChangedByte = 0;
    // When this command arrives the controller goes away at once, without a
    // reply, as an adapter pulled in the middle of an exchange.
    std::optional<SimCommand> dropAfter;
};

struct SimulatorOptions {
    // Content of the reply to "Tt".
    QByteArray modelReply = "T6 v2.14";
    // Content of the reply to "Sg".
    QByteArray signalReply = "+CSQ: 17,0";
    // The code of the key that "Kr" finds on the reader.
    QByteArray keyCode = defaultKeyCode();
    // The key table goes out in this many packets (records are not split).
    int keyTablePackets = 1;
    FaultOptions faults;
    // The line's speed in bit/s (8N1): every byte takes the time a UART
    // needs for it, both ways. 0: bytes pass at once.
    int baud = 0;
    // Where the state lives between runs; empty: nowhere.
    QString statePath;
};

// The usual "+CSQ:" report for a signal level.
inline QByteArray signalReplyForLevel(int level)
{
    return "+CSQ: " + QByteArray::number(level) + ",0";
}

} // namespace zarven::sim
