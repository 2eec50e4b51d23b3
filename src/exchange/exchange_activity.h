#pragma once
// What the window waits for, and since when: the exchange that runs, named
// for the installer ("Чтение настроек"), how long it has run and how long
// its wait has left until the time-out, and its end. A run is one or more
// waits in a row: a write that is checked afterwards stays one "Запись
// настроек" through its read-back. The wait of the scan is the scan's own
// and is not counted; nor is any wait the window chooses to leave out (the
// signal monitor's polls).
//
// cancel() ends the wait at once as its time-out would (ExchangeCore's
// cancelWait()).

#include "exchange/exchange_core.h"

#include <QObject>
#include <QString>
#include <functional>

class QTimer;

namespace zarven {

class Clock;

class ExchangeActivity : public QObject {
    Q_OBJECT
public:
    ExchangeActivity(ExchangeCore &core, const Clock &clock, QObject *parent = nullptr);

    bool running() const { return running_; }
    // The state the current wait waits in.
    int waitState() const { return waitState_; }
    // The run's name, in Russian.
    QString label() const { return label_; }
    qint64 elapsedSeconds() const;
    // Whole seconds the current wait has until its time-out, rounded up.
    int secondsLeft() const;
    // "Чтение настроек… 3 с", through tr when given; empty when nothing runs.
    QString statusText(const std::function<QString(const QString &)> &tr = {}) const;

    // The name of the waits of one state when nothing else names them.
    static QString stateLabel(int state);
    // Runs a handler whose waits, and the ones that follow them without a
    // break, carry this name ("Сравнение с прибором").
    void runAs(const QString &label, const std::function<void()> &handler);
    // Waits for which this returns true are not counted.
    void setLeftOut(std::function<bool(int state)> leftOut) { leftOut_ = std::move(leftOut); }

    // Ends the wait now, as its time-out would.
    void cancel();

signals:
    void started();
    void finished();
    // The run's text changed or a second passed.
    void changed();

private:
    bool counted(int state) const;
    void waitBegins(int state);
    void end();

    ExchangeCore &core_;
    const Clock &clock_;
    QTimer *tick_ = nullptr;
    QTimer *endCheck_ = nullptr;
    std::function<bool(int)> leftOut_;
    bool running_ = false;
    bool named_ = false; // label_ was given by runAs()
    QString pending_;    // the name runAs() gives, while its handler runs
    QString label_;
    int waitState_ = ssIdle;
    QDateTime started_;
    QDateTime waitStarted_;
    // A named run that just ended: a wait that begins before the event loop
    // runs again (a write's check after it) goes on with it.
    struct Ended {
        bool valid = false;
        QString label;
        QDateTime started;
    } ended_;
};

} // namespace zarven
