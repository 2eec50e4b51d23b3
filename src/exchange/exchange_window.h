#pragma once
// What the device exchange needs from the main window: the shared values,
// the port and its framer, the log, the message boxes, the timers and the few
// controls the exchanges read and set. The window fills one of these when it
// wires the exchange in; the exchange never includes the window itself.

#include "core/event_log.h"
#include "core/message_boxes.h"
#include "core/shared_values.h"
#include "core/timing.h"
#include "serial/comport.h"
#include "serial/framer.h"

#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace zarven {

struct ExchangeWindow {
    // The window itself: controls that other subsystems add later (the key
    // prompt "Panel7", the key panel "Panel_key") are found under it by name.
    QWidget *window = nullptr;

    SharedValues *shared = nullptr;
    SerialPort *port = nullptr;
    PacketFramer *framer = nullptr;
    EventLog *log = nullptr;
    MessageBoxes *boxes = nullptr;

    QTimer *scanTimer = nullptr;      // one port of the scan (Timer1)
    QTimer *responseTimer = nullptr;  // reply time-out (Timer3)
    QTimer *idleCloseTimer = nullptr; // idle close (Timer4)

    QComboBox *portList = nullptr;        // the ports the scan tries (ComboBox1)
    QPushButton *connectButton = nullptr; // "Соединить" (BitBtn3)
    QLabel *statusPanel1 = nullptr;       // "соединен с ..."
    QLabel *statusWarning = nullptr;      // another program holds the connected port; may be null
    QProgressBar *signalGauge = nullptr;  // Gauge_Signal
    QLabel *signalLabel = nullptr;        // Label_Signal

    TimerIntervals intervals;
    QStringList extraPorts;          // listed by every scan besides the system's ports
    bool includeSystemPorts = true;

    // Passes a message through the translation dictionary before it is shown.
    std::function<QString(const QString &)> translate;
    // The same for texts of the status bar: never shows a box, and leaves
    // the text as it is when the dictionary cannot be used.
    std::function<QString(const QString &)> translateStatus;
    // A caption the exchange puts on a control, given in Russian, in the
    // window's current language.
    std::function<QString(const QString &)> caption;
    // Runs a handler the way the message loop would: an error nobody caught
    // is shown by the default error report.
    std::function<void(const std::function<void()> &)> guarded;
};

// Starts a stopped timer; a running one keeps its interval going, so every
// sender stops the timers it is about to start first.
void startIfStopped(QTimer *timer);

// w.caption applied to a Russian caption; the caption itself without one.
QString captionInWindowLanguage(const ExchangeWindow &w, const QString &russian);

} // namespace zarven
