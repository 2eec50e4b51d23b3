#pragma once
// "Антенна": the signal monitor's window, beside the main window and not
// modal. The level in large type (dBm and CSQ) with its band, the graph of
// the kept span, min / average / max with "Сброс", the counts of readings
// and failures, "Сохранить CSV", the interval, "Звук" and the monitor's own
// "Непрерывно".
//
// The window only shows what the monitor keeps; it starts and stops nothing
// itself: its "Непрерывно" is wired like the main window's.

#include "exchange/signal_monitor.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zarven {

class FileDialogs;
class SignalGraph;
class ToneOutput;

class AntennaWindow : public QWidget {
    Q_OBJECT
public:
    // The average the tone compares a level with: of this many readings.
    static constexpr int kToneAverageOf = 8;
    static constexpr int kBeepMs = 120;

    AntennaWindow(SignalMonitor &monitor, CaptionFunction caption, std::unique_ptr<FileDialogs> dialogs,
                  QWidget *parent = nullptr);
    ~AntennaWindow() override;

    // Where the tone goes; by default the system's audio output, made when
    // "Звук" is first ticked.
    void setToneOutput(ToneOutput *tone) { tone_ = tone; }
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);

    // "Сохранить CSV": the kept readings to a file the dialog names. Throws
    // FileError when the file cannot be written.
    void saveCsv();
    // The texts made of readings, again in the window's current language;
    // while the window is hidden, when it is shown next.
    void retranslate();

    QPushButton *monitorButton = nullptr; // "Непрерывно"
    QPushButton *resetButton = nullptr;   // "Сброс"
    QPushButton *saveCsvButton = nullptr; // "Сохранить CSV"
    QCheckBox *soundBox = nullptr;        // "Звук"
    QSpinBox *intervalBox = nullptr;      // seconds between readings
    QLabel *levelLabel = nullptr;         // "-79 dBm"
    QLabel *csqLabel = nullptr;           // "CSQ 17"
    QLabel *bandLabel = nullptr;          // "хорошо"
    QLabel *statsLabel = nullptr;         // min / average / max
    QLabel *countsLabel = nullptr;        // readings and failures
    QLabel *phaseLabel = nullptr;         // running, paused, stopped and why
    SignalGraph *graph = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void sampleAdded(const SignalSample &sample);
    void showLatest();
    void showStats();
    void showPhase();
    void beepFor(const SignalSample &sample);
    QString in(const QString &russian) const;

    SignalMonitor &monitor_;
    CaptionFunction caption_;
    std::unique_ptr<FileDialogs> dialogs_;
    ToneOutput *tone_ = nullptr;
    std::unique_ptr<ToneOutput> ownTone_;
    std::optional<SignalMonitor::StopReason> stopReason_;
    bool stale_ = false;
};

} // namespace zarven
