#pragma once
// PtyHost: puts a ControllerSimulator on a pseudo-terminal. The tool opens the
// device end (the "slave", e.g. /dev/pts/3) as if it were a serial port; this
// host reads the master end on the main thread, feeds the simulator and
// writes each reply piece after its delay. With a line speed set, both
// directions go at the pace of a UART (line_pacer.h): a command reaches the
// simulator, and a reply the tool, only once its bytes would have crossed
// the wire.
//
// A simulator that asks for its line to be dropped gets it: the master is
// closed, which the tool sees as a hang-up with its device gone, as when an
// adapter is pulled; lineDropped() follows.
//
// The tool opens the port only around exchanges, so the device end is
// closed and reopened all the time. While nobody has it open, reading the
// master fails with EIO and poll() reports a hang-up without pause, which
// would make a descriptor notifier fire endlessly. The host therefore turns
// its notifier off at the first EIO and looks every few milliseconds whether
// the device has been opened again.
//
// The host keeps no descriptor of the device end open. One would not stop
// the tool's exclusive open (flock plus TIOCEXCL, set after opening), but it
// would keep replies nobody read queued for the next opener, and it would
// hide the hang-up by which the host learns that the tool has gone.
//
// Openers take note: a pseudo-terminal keeps its exclusive flag for as long
// as its master lives, also after every opener has closed it, so an opener
// must clear the flag (TIOCNXCL) before closing, or its next open fails with
// EBUSY for anyone without administrator rights.

#include "controller_simulator.h"
#include "line_pacer.h"

#include "core/errors.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace zarven::sim {

class PtyError : public AppError {
public:
    using AppError::AppError;
};

class PtyHost : public QObject {
    Q_OBJECT
public:
    explicit PtyHost(ControllerSimulator &simulator, QObject *parent = nullptr);
    ~PtyHost() override;

    // Creates the pseudo-terminal with raw line settings on its device end.
    // Throws PtyError.
    void open();
    // The device end's path, e.g. /dev/pts/3; empty before open().
    QString devicePath() const { return devicePath_; }

signals:
    // The pseudo-terminal has been closed at the simulator's request.
    void lineDropped();

private:
    void received(const QByteArray &bytes);
    void dropLine();
    void readMaster();
    void pollWhileIdle();
    void enterIdle();
    void leaveIdle();
    void enqueue(const QList<OutgoingChunk> &chunks);
    void sendDue();
    void flushOutput();
    bool deviceEndClosed() const;

    ControllerSimulator &simulator_;
    int master_ = -1;
    QString devicePath_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer idlePoll_;
    QTimer sendTimer_;
    QList<OutgoingChunk> queue_;
    QByteArray writeBuffer_;
    LinePacer inbound_;
    LinePacer outbound_;
};

} // namespace zarven::sim
