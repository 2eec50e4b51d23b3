#pragma once
// ControllerSimulator: a controller as the tool sees it from the far end of
// the serial line. It takes received bytes in chunks of any size, cuts them
// into packets with the same framer the tool uses, answers each command and
// returns what goes back on the line as timed pieces. It knows nothing of
// terminals or timers: the host (a pseudo-terminal, a test) sends each piece
// after its delay.
//
// Commands: "Tt" identification, "Pt" settings image, 99 99 + image stores
// the image ("COK"), "Cn" key table, "Kr" key code, "Wr" ("OK", then the next
// packet is the 250-byte key table: stored, "Ok"), "Ur" no reply, "Sg" signal
// report. Anything else gets no reply.

#include "controller_state.h"
#include "signal_walk.h"
#include "simulator_options.h"

#include "serial/framer.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <functional>
#include <optional>

namespace zarven::sim {

// Bytes to write once delayMs has passed since the previous piece was
// written (for the first piece of a reply: since the command arrived).
struct OutgoingChunk {
    int delayMs = 0;
    QByteArray bytes;
    bool operator==(const OutgoingChunk &) const = default;
};

class ControllerSimulator {
public:
    using Logger = std::function<void(const QString &line)>;

    // Takes its state from options.statePath when that file exists, else
    // starts from the defaults with the image clock at the given moment.
    // Throws FileError for a state file it cannot read.
    explicit ControllerSimulator(SimulatorOptions options, const QDateTime &clock = QDateTime::currentDateTime());

    // Feeds received bytes; returns the pieces to send in answer to every
    // packet they completed, in order.
    QList<OutgoingChunk> receive(const QByteArray &bytes);

    const ControllerState &state() const { return state_; }
    const SimulatorOptions &options() const { return options_; }
    // True between the "OK" to "Wr" and the packet that follows it.
    bool awaitingKeyTable() const { return awaitingKeyTable_; }
    // True once the command of faults.dropAfter has arrived: the host is to
    // take the line away. Nothing after that command is answered.
    bool lineDropRequested() const { return dropRequested_; }

    // Where a line per command received goes (the verbose log).
    void setLogger(Logger logger) { logger_ = std::move(logger); }
    // Told of every command received, before it is carried out.
    void setCommandObserver(std::function<void(SimCommand)> observer) { observer_ = std::move(observer); }
    // Where failures to save the state file go; they are never silent.
    void setErrorReporter(Logger reporter) { errorReporter_ = std::move(reporter); }

    // All pieces run together: the bytes the line carries, timing aside.
    static QByteArray joined(const QList<OutgoingChunk> &chunks);

private:
    void handlePacket(const QByteArray &content);
    void carryOut(SimCommand command, const QByteArray &content);
    void sendPacket(const QByteArray &content);
    void sendBytes(const QByteArray &bytes);
    void persist();
    void journal(const QString &what);
    void log(const QString &line) const;

    SimulatorOptions options_;
    ControllerState state_;
    PacketFramer framer_;
    bool awaitingKeyTable_ = false;
    bool dropRequested_ = false;
    std::optional<SignalWalk> walk_;
    // Pieces produced by the packets of the current receive(); whether the
    // next one is the first of its command's reply.
    QList<OutgoingChunk> out_;
    bool firstOfReply_ = true;
    Logger logger_;
    Logger errorReporter_;
    std::function<void(SimCommand)> observer_;
};

} // namespace zarven::sim
