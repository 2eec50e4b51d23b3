#pragma once
// A pseudo-terminal pair for tests of code that talks over a serial line.
// The code under test opens slavePath() like a serial device; the test plays
// the far end through the master descriptor.
//
// By default the fixture also holds a descriptor of the slave side, opened
// before the code under test opens it (so an exclusive open does not refuse
// it). It keeps the pair alive across closes of the port under test, shows
// the slave's settings (tcgetattr) and its input queue, and lets a test fill
// the slave's output. It never reads the slave.

#include <QByteArray>
#include <QString>

namespace zarven::test {

class PtyPair {
public:
    explicit PtyPair(bool holdSlave = true);
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    // False when the pair could not be made; errorString() says why.
    bool isOpen() const { return master_ >= 0; }
    QString errorString() const { return error_; }

    QString slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }
    // The held slave descriptor, or -1.
    int slaveFd() const { return slave_; }

    // Writes all bytes to the master (the far end sends); false when they
    // could not all be written within the time-out.
    bool writeMaster(const QByteArray &bytes, int timeoutMs = 2000);
    // Reads from the master until n bytes have come or the time-out passed.
    QByteArray readMaster(qint64 n, int timeoutMs = 2000);
    // Everything the master can read now, after waiting settleMs for more.
    QByteArray drainMaster(int settleMs = 50);
    // Hangs up the far end: the slave side sees a hang-up.
    void closeMaster();

    // Bytes waiting in the slave's input queue (needs the held slave).
    int slaveQueued() const;
    // Waits until the slave's input queue holds at least n bytes.
    bool waitSlaveQueued(int n, int timeoutMs = 2000) const;
    // Writes to the slave without reading the master until the line takes
    // no more; returns the count written.
    qint64 fillSlaveOutput();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString error_;
};

} // namespace zarven::test
