#pragma once
// Finding the controller: the scan tries the listed serial ports one after
// another, scanTimer's interval apart, with the identification command "Tt";
// the first port on which any reply arrives ends the scan. "T6" followed by
// the version text is the ZARVEN-4 and is accepted; five sibling models are
// refused with a message naming their own configuration tool; anything else
// is an unrecognised device. The accepted port becomes ConnectedPort, which
// every later exchange uses.

#include "exchange/exchange_core.h"
#include "serial/port_diagnosis.h"

#include <QList>
#include <QObject>
#include <QString>

namespace zarven {

// How a scan ended.
enum class ScanOutcome {
    Connected,    // "T6": the controller was accepted
    Sibling,      // a sibling model answered and was refused
    Unrecognised, // some other reply
    NoAnswer,     // every port tried without a reply
    LineLost,     // the line of the port being tried was lost
};

// The refusal message for a sibling model's reply, or an empty text when the
// reply is not one of them. Replies are compared whole.
QString siblingRefusal(const QByteArray &reply);

class ControllerScan : public QObject {
    Q_OBJECT
public:
    explicit ControllerScan(ExchangeCore &core, QObject *parent = nullptr);

    // "Соединить" (button and menu item): starts a scan.
    void startScan();
    // Scans only a port just plugged in: when nothing answers no box is
    // shown (the caller says it in the status bar), and the acceptance is
    // not asked; a sibling's refusal is still shown.
    void scanPlugged(const QString &port);
    bool scanningPlugged() const { return plugged_; }
    // The lines saying why each port of the last scan gave nothing.
    QString triedPortsReport() const;
    // One scan step.
    void tryNextPort();
    // The identification route (SessionState 1).
    void identificationReply(const QByteArray &Str);

    // The line to the controller is gone (unplugged adapter): the window
    // stops showing a connection, and the next exchange asks for a scan. A
    // scan the loss ended (state ssIdentify) is over.
    void connectionLost(int state);

    int ScanIndex = 0;
    int ScanLast = -1;

    // The version text of the controller accepted last ("T6" cut off);
    // empty before the first acceptance, cleared when a scan starts.
    QString connectedVersion() const { return connectedVersion_; }

signals:
    // Emitted once the scan's outcome is known: after the refusal or
    // acceptance box has been answered, or after the no-answer message.
    void scanFinished(ScanOutcome outcome);

private:
    QString connectedVersion_;
    // A port the scan tried, with the system error code of its failed open
    // (0: it opened); diagnosed when the scan ends without a controller.
    struct Tried {
        QString port;
        int openError = 0;
    };
    QString noAnswerMessage() const;
    // The status bar's warning about the connected port; empty: hidden.
    void showPortWarning(const QString &text);

    QList<Tried> tried_;
    QString pluggedPort_; // the port the next startScan() tries alone
    bool plugged_ = false;
    ExchangeCore &core_;
    const ExchangeWindow &w_;
};

} // namespace zarven
