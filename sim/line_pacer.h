#pragma once
// LinePacer: one direction of a serial line at its real pace. Bytes pushed
// in come out of the deliver callback no earlier than a UART would have
// finished sending them: one byte time (start bit, data bits, stop bit) per
// byte, back to back while the line is busy, the first byte of a burst one
// byte time after it was pushed onto an idle line. It runs on the event loop
// with a precise timer and never blocks; each firing delivers every byte
// whose time has come, so a millisecond timer still gives the exact average
// rate.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace zarven::sim {

class LinePacer : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(const QByteArray &bytes)>;

    // The time one byte takes at baud bit/s in 8N1 framing (10 bits), in
    // nanoseconds.
    static qint64 byteTimeNs(int baud) { return baud > 0 ? 10'000'000'000LL / baud : 0; }

    LinePacer(int baud, Deliver deliver, QObject *parent = nullptr);

    void push(const QByteArray &bytes);
    // Drops what is still on its way (the line went away).
    void clear();
    bool idle() const { return pending_.isEmpty(); }

private:
    void deliverDue();
    void schedule();

    qint64 byteNs_;
    Deliver deliver_;
    QByteArray pending_;
    QElapsedTimer clock_;
    // When the first pending byte has been sent whole; with nothing pending,
    // one byte time past the end of the last byte sent.
    qint64 nextDueNs_ = 0;
    QTimer timer_;
};

} // namespace zarven::sim
