#pragma once
// MainWindow: the one main window. It owns the serial port, the packet framer,
// the four timers, the log and the settings panels, builds the frame (menu,
// bottom bar, status bar, manufacturer panel) and wires each control's
// handler to the subsystem that does the work.

#include "app/app_options.h"
#include "app/user_settings.h"
#include "core/event_log.h"
#include "core/message_boxes.h"
#include "core/shared_values.h"
#include "serial/comport.h"
#include "serial/framer.h"

#include <QMainWindow>
#include <QTime>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTranslator;
class QFrame;
class QScrollArea;

namespace zarven {

class ConfigFiles;
class HelpWindow;
class SettingsPanels;
class DeviceExchange;
class KeyPanel;
class KeyProgramming;
class SettingsRead;
class SettingsWrite;
class SettingsCompare;
class AutoConnect;
class SignalMonitor;
class AntennaWindow;
class JournalRecorder;
class JournalWindow;
class JournalledWrite;
class SeriesDialog;
class FileDialogs;
class PrintDialogs;
struct ConfigSheet;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(const AppOptions &options, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; run once by the constructor.
    void runStartUp();
    // Closes the port and writes log.log; run once when the window goes.
    void shutDown();

    // Runs a handler the way the message loop would: an error nobody caught
    // ends the handler and is shown by the default error report.
    template <typename F>
    void guarded(F &&handler);

    // The settings panels (created by wireEditor()).
    SettingsPanels *panels = nullptr;

    // Shared values and components. Each member whose objectName is its
    // designer name (found by it in tests, logs and the settings codec)
    // says that name.
    SharedValues shared;
    AppOptions options;
    MessageBoxes &boxes;
    EventLog eventLog;                    // written to log.log on close
    SerialPort *port = nullptr;           // designer name: ComPort1
    PacketFramer framer;                  // cuts the port's bytes into packets
    QTimer *scanTimer = nullptr;          // designer name: Timer1; one port of the scan
    QTimer *clockTimer = nullptr;         // designer name: Timer2; the status bar clock
    QTimer *responseTimer = nullptr;      // designer name: Timer3; reply time-out
    QTimer *idleCloseTimer = nullptr;     // designer name: Timer4; closes the idle port
    // The device exchange: state machine, controller scan, signal level.
    DeviceExchange *exchange = nullptr;
    // Writing the settings to the controller and reading them back.
    SettingsWrite *settingsWrite = nullptr;
    SettingsRead *settingsRead = nullptr;

    // Frame. The client area keeps its designed size inside a scroll area,
    // so a smaller window (a laptop screen, a large scale factor) scrolls
    // instead of cutting controls off.
    QScrollArea *scrollArea = nullptr;
    QWidget *clientArea = nullptr;
    QFrame *bottomBar = nullptr;                  // designer name: Panel6
    QPushButton *writeSettingsButton = nullptr;   // designer name: BitBtn1
    QPushButton *readSettingsButton = nullptr;    // designer name: BitBtn2
    QPushButton *connectButton = nullptr;         // designer name: BitBtn3
    QPushButton *keyProgrammingButton = nullptr;  // designer name: BitBtn4
    QLabel *signalCaption = nullptr;              // designer name: Label1
    QProgressBar *signalGauge = nullptr;          // designer name: Gauge_Signal
    QPushButton *signalRefreshButton = nullptr;   // designer name: Button_YrSignal
    QLabel *signalLabel = nullptr;                // designer name: Label_Signal
    QComboBox *portList = nullptr;                // designer name: ComboBox1; hidden
    QLabel *statusPanels[4] = {};                 // StatusPanel0 to StatusPanel3
    QLabel *statusWarning = nullptr; // another program holds the connected port
    QLabel *statusFile = nullptr; // what was last saved or loaded, and where
    QLabel *statusReport = nullptr; // link to the last load's report, when it has entries
    QFrame *manufacturerPanel = nullptr;          // designer name: Panel2
    // Key programming; hidden and disabled at start. Designer name: Panel_key.
    QFrame *keyFrame = nullptr;
    // "Поднесите ключ к считывателю"; hidden and disabled at start. Designer
    // name: Panel7.
    QFrame *keyPrompt = nullptr;
    QPlainTextEdit *logView = nullptr;            // designer name: Memo1; hidden
    HelpWindow *helpWindow = nullptr; // made when first opened

    // Main menu.
    QMenu *menuFile = nullptr;     // designer name: N1
    QMenu *menuExchange = nullptr; // designer name: N2
    QMenu *menuAbout = nullptr;    // designer name: N6
    QMenu *menuLanguage = nullptr; // designer name: N13
    QAction *loadFileAction = nullptr;         // designer name: N3
    QAction *saveFileAction = nullptr;         // designer name: N4
    QMenu *menuRecent = nullptr; // the last configuration files, newest first
    QAction *exitAction = nullptr;             // designer name: N7
    QAction *connectAction = nullptr;          // designer name: N8; "Соединить"
    QAction *writeSettingsAction = nullptr;    // designer name: N9; "Записать параметры"
    QAction *readSettingsAction = nullptr;     // designer name: N10; "Считать параметры"
    QAction *keyProgrammingAction = nullptr;   // designer name: N15; "Программировать ключи"
    QAction *compareAction = nullptr;          // "Сравнить с прибором" (menu_compare)
    QAction *signalRefreshAction = nullptr;    // "Обновить уровень сигнала" (menu_signal), as "Обновить"
    QAction *verifyAfterWriteAction = nullptr; // "Проверять после записи", checkable (menu_verify)
    QAction *helpAction = nullptr;             // designer name: N16; "Справка"
    QAction *manufacturerAction = nullptr;     // designer name: N17; "О производителе"
    QAction *autoConnectAction = nullptr;      // "Подключаться автоматически", checkable (menu_autoconnect)
    QAction *systemCheckAction = nullptr;      // "Проверка системы" (menu_doctor)
    QAction *supportBundleAction = nullptr;    // "Сохранить отчёт для поддержки" (menu_support)
    QAction *russianAction = nullptr;          // menu_russian
    QAction *englishAction = nullptr;          // menu_english

    // Handlers of the frame.
    void onClockTick();           // the status bar clock, each second
    void askAndExit();            // "Выход"
    void showHelp();              // "Справка": the user guide in the window's language
    void showManufacturerPanel(); // "О производителе"
    void hideManufacturerPanel(); // its "Закрыть" (Button1) and Escape
    void openManufacturerSite();  // its "Перейти на сайт изготовителя" (Button2)

    // The status bar's port text: "Открыт (Com=...)" or "Закрыт (Com=...)".
    QString portStateText() const;

    // A Russian message or status text in the window's language.
    QString inLanguage(const QString &russian) const;
    // The comparison with the controller and the check after a write.
    SettingsCompare *settingsCompare = nullptr;
    // Whether a write acknowledged with "COK" is read back and compared.
    bool verifiesAfterWrite() const;

    // Saving and loading configuration files ("Файл" menu, backup file).
    std::unique_ptr<ConfigFiles> configFiles;

    // The journal of reads and writes (journal.sqlite in the program's
    // folder).
    JournalRecorder *journal = nullptr;
    // The write buttons: the controller's settings are read and journalled,
    // the preview shows the changes, then the write and its check run.
    JournalledWrite *journalledWrite = nullptr;
    QAction *previewAction = nullptr;     // "Показывать изменения перед записью" (menu_preview)
    QAction *journalAction = nullptr;     // "Журнал", Ctrl+J (menu_journal)
    QAction *compareFileAction = nullptr; // "Сравнить с файлом…" (menu_compare_file)
    JournalWindow *journalWindow = nullptr; // made when first opened
    // The write's preview and check as the menu sets them; a series of
    // controllers sets its own and gives them back with this.
    void useWindowWriteChecks();
    // The site a series writes for, named in the journal instead of the
    // file loaded last; empty outside a series.
    QString seriesSite;
    QAction *seriesAction = nullptr; // "Серия приборов…" (menu_series)
    SeriesDialog *seriesDialog = nullptr; // made when first opened
    void showJournal();
    // The load report LoadFile.rep, opened by the status bar's link.
    void showLoadReport();
    QDialog *loadReportWindow = nullptr; // made when first opened
    void compareWithFile();
    // The differences between the window and a configuration file's content,
    // as lines, the last one the count.
    QStringList compareWithWindow(const QByteArray &other, const QString &label);

    // The configuration sheet ("Файл" menu, wire_sheet.cpp): what a write
    // would store, the key grid's descriptions and the connected controller.
    QAction *printAction = nullptr;   // "Печать…" (menu_print)
    QAction *savePdfAction = nullptr; // "Сохранить PDF…" (menu_pdf)
    std::unique_ptr<PrintDialogs> printDialogs;
    std::unique_ptr<FileDialogs> pdfDialogs;
    // The sheet names the file given, or else the window's current file.
    ConfigSheet configSheet(const QString &file = {}) const;
    void printConfigSheet();
    void saveConfigSheetPdf();

    // What the window remembers between runs.
    UserSettings prefs;

    // The menu's load and save, the recent files and the unsaved edits.
    // Loading over unsaved edits asks first (save, discard, cancel).
    void loadFromMenu();
    void saveFromMenu();
    void openRecentFile(const QString &path);
    // The file the window last loaded or saved; empty before either.
    QString currentFile() const { return currentFile_; }
    bool hasUnsavedEdits() const { return unsavedEdits_; }
    // Asks about unsaved edits: true when the caller may go on (saved or
    // discarded, or there were none), false when the user cancelled or the
    // save did not happen.
    bool settleUnsavedEdits();

    // The language menu's switch, with everything around it: the title,
    // the status texts, Qt's own texts and the remembered choice.
    void switchLanguage(QChar code);
    // The signal monitor: "Непрерывно" beside "Обновить" and in the menu,
    // and its window "Антенна" (wire_monitor.cpp).
    SignalMonitor *signalMonitor = nullptr;
    QPushButton *monitorButton = nullptr; // Button_Monitor
    QAction *monitorAction = nullptr;     // menu_monitor
    AntennaWindow *antennaWindow = nullptr;

    // The key programming mode: the controls in keyFrame and keyPrompt, and
    // its handlers.
    std::unique_ptr<KeyPanel> keyPanel;
    KeyProgramming *keys = nullptr;
    // Plugged adapters: scanned when nothing is connected, the lost
    // controller's adapter reconnected when it comes back.
    AutoConnect *autoConnect = nullptr;
    // The system check's report, as "Проверка системы" shows it and
    // `doctor` prints it.
    QString systemCheckText(bool *allWell = nullptr) const;
    // Writes the support bundle; throws FileError.
    void writeSupportBundle(const QString &path) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fileDone(const QString &path, bool saved);
    void setUnsavedEdits(bool unsaved);
    // The status bar's link to the load report, for a load with entries.
    void showReportLink(qsizetype entries);
    // The window now shows the settings read from the controller on controllerPort.
    void settingsWereRead(const QString &controllerPort);
    void updateTitle();
    void rebuildRecentMenu();
    void watchEdits();
    void fitToScreen();
    void applyQtTranslations();
    // Each subsystem connects its controls and handlers here (wire_*.cpp).
    void wireEditor();
    void wireConfigFiles();
    void wireExchange();
    void wireMonitor();
    void wireSettings();
    void wireTranslation();
    void wireKeys();
    void wireCompare();
    void wireDeviceWatch(); // run by wireExchange()
    void wireSupport();     // run by wireExchange()
    void wireJournal();
    void wireSeries();
    void wireSheet();
    void wireShortcuts(); // after every exchange's menu item exists

    void buildFrame();
    void buildMenu();
    void buildStatusBar();
    void buildManufacturerPanel();

    bool destroyed_ = false;
    QString caption_; // the window's caption in its current language
    QString currentFile_;
    QString readFrom_; // the port whose controller the window shows; empty: none
    QTime readAt_;
    bool unsavedEdits_ = false;
    QTranslator *qtRussian_ = nullptr; // Qt's own Russian texts, when loaded
    std::function<void(QChar)> languageSwitch_;
    bool busyCursor_ = false; // this window has set the busy cursor
};

template <typename F>
void MainWindow::guarded(F &&handler)
{
    try {
        handler();
    } catch (const LineLostError &) {
        // Told by the exchange that the loss ended.
    } catch (const AppError &e) {
        boxes.error(e.message());
    } catch (const std::exception &e) {
        boxes.error(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace zarven
