#pragma once
// TForm1: the one main window. It owns the serial port, the packet framer,
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
#include <functional>
#include <memory>

class QAction;
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

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(const AppOptions &options, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~TForm1() override;

    // The start-up sequence; run once by the constructor.
    void FormCreate();
    // Closes the port and writes log.log; run once when the window goes.
    void FormDestroy();

    // Runs a handler the way the message loop would: an error nobody caught
    // ends the handler and is shown by the default error report.
    template <typename F>
    void guarded(F &&handler);

    // The settings panels (created by wireEditor()).
    SettingsPanels *panels = nullptr;

    // Shared values and components.
    SharedValues shared;
    AppOptions options;
    MessageBoxes &boxes;
    EventLog Memo1;
    TComPort *ComPort1 = nullptr;
    TComDataPacket ComDataPacket1;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
    QTimer *Timer4 = nullptr;
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
    QFrame *Panel6 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QLabel *Label_SignalCaption = nullptr;
    QProgressBar *Gauge_Signal = nullptr;
    QPushButton *Button_YrSignal = nullptr;
    QLabel *Label_Signal = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *statusPanels[4] = {};
    QLabel *statusFile = nullptr; // what was last saved or loaded, and where
    QFrame *Panel2 = nullptr;
    QFrame *Panel_key = nullptr; // key programming; hidden and disabled at start
    QFrame *Panel7 = nullptr;    // "Поднесите ключ к считывателю"; hidden and disabled at start
    QPlainTextEdit *Memo1View = nullptr;
    HelpWindow *helpWindow = nullptr; // made when first opened

    // Main menu.
    QMenu *menuFile = nullptr;
    QMenu *menuExchange = nullptr;
    QMenu *menuAbout = nullptr;
    QMenu *menuLanguage = nullptr;
    QAction *N3 = nullptr;
    QAction *N4 = nullptr;
    QMenu *menuRecent = nullptr; // the last configuration files, newest first
    QAction *N7 = nullptr;
    QAction *N8 = nullptr;  // "Соединить"
    QAction *N9 = nullptr;  // "Записать параметры"
    QAction *N10 = nullptr; // "Считать параметры"
    QAction *N15 = nullptr; // "Программировать ключи"
    QAction *menu_compare = nullptr; // "Сравнить с прибором"
    QAction *menu_verify = nullptr;  // "Проверять после записи", checkable
    QAction *N16 = nullptr; // "Справка"
    QAction *N17 = nullptr;
    QAction *menu_russian = nullptr;
    QAction *menu_english = nullptr;

    // Handlers of the frame.
    void Timer2Timer();
    void N7Click();
    void N16Click(); // "Справка": the user guide in the window's language
    void N17Click();
    void Button1Click();
    void Button2Click();

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
    // The key programming mode: the controls in Panel_key and Panel7, and
    // its handlers.
    std::unique_ptr<KeyPanel> keyPanel;
    KeyProgramming *keys = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fileDone(const QString &path, bool saved);
    void setUnsavedEdits(bool unsaved);
    void updateTitle();
    void rebuildRecentMenu();
    void watchEdits();
    void fitToScreen();
    void applyQtTranslations();
    // Each subsystem connects its controls and handlers here (wire_*.cpp).
    void wireEditor();
    void wireConfigFiles();
    void wireExchange();
    void wireSettings();
    void wireTranslation();
    void wireKeys();
    void wireCompare();

    void buildFrame();
    void buildMenu();
    void buildStatusBar();
    void buildManufacturerPanel();

    bool destroyed_ = false;
    QString caption_; // the window's caption in its current language
    QString currentFile_;
    bool unsavedEdits_ = false;
    QTranslator *qtRussian_ = nullptr; // Qt's own Russian texts, when loaded
    std::function<void(QChar)> languageSwitch_;
    bool busyCursor_ = false; // this window has set the busy cursor
};

template <typename F>
void TForm1::guarded(F &&handler)
{
    try {
        handler();
    } catch (const AppError &e) {
        boxes.error(e.message());
    } catch (const std::exception &e) {
        boxes.error(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace zarven
