#include "app/main_window.h"
#include "app/fit_captions.h"
#include "app/help_window.h"
#include "app/program_folder.h"
#include "app/status_panel.h"
#include "translate/message_translation.h"
#include "translate/shipped_dictionary.h"
#include "translate/translation.h"

#include "config_file/config_files.h"
#include "config_file/file_dialogs.h"
#include "editor/arming_panel.h"
#include "editor/phone_panel.h"
#include "editor/settings_panels.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"
#include "sheet/sheet_printer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <QHBoxLayout>
#include <QVBoxLayout>

// The resources (banner, shipped dictionary) live in the core library, a
// static library, so they are registered explicitly; this must be outside
// any namespace.
static void initZarvenResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace zarven {

namespace {

const QString kCaption = QStringLiteral("Конфигуратор ЗАРВЕН-4 (вер. 23.05.2016)");
const QString kWebAddress = QStringLiteral("https://example.org/zarven4");

// The time as the window shows it: hours without a leading zero, then
// minutes and seconds ("9:05:07"), the long time format the controller's
// installers know; the settings image puts the missing "0" in front itself.
QString longTimeText()
{
    return QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

QAction *makeAction(QMenu *menu, const char *name, const QString &caption, QKeySequence shortcut = {})
{
    auto *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    return a;
}

QTimer *makeTimer(QObject *parent, const char *name, int intervalMs, bool running)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(intervalMs);
    if (running)
        t->start();
    return t;
}

} // namespace

MainWindow::MainWindow(const AppOptions &opts, MessageBoxes &messageBoxes, QWidget *parent)
    : QMainWindow(parent), options(opts), boxes(messageBoxes), prefs(opts.userSession)
{
    initZarvenResources();
    // Every box the window shows is written in Russian and passes through
    // the dictionary's message section of the current language.
    boxes.setTranslator([this](const QString &text) { return inLanguage(text); });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);

    port = new SerialPort(this);
    port->setObjectName(QStringLiteral("ComPort1"));
    port->setReceiver([this](const QByteArray &chunk) { framer.FeedBytes(chunk); });
    port->setErrorReporter([this](const QString &message) { boxes.error(message); });
    framer.setStartString(shared.PacketStart);
    framer.setStopString(shared.PacketStop);
    framer.setMaxBufferSize(1024);

    const auto &iv = options.intervals;
    scanTimer = makeTimer(this, "Timer1", iv.scanStepMs, false);
    clockTimer = makeTimer(this, "Timer2", iv.clockMs, true);
    responseTimer = makeTimer(this, "Timer3", iv.responseTimeoutMs, false);
    idleCloseTimer = makeTimer(this, "Timer4", iv.idleCloseMs, true);
    connect(clockTimer, &QTimer::timeout, this, [this] { guarded([this] { onClockTick(); }); });

    buildMenu();
    buildFrame();
    buildStatusBar();
    buildManufacturerPanel();
    wireEditor();
    wireConfigFiles();
    wireExchange();
    wireSettings();
    wireKeys();
    wireCompare();
    wireJournal();
    wireSeries();
    wireSheet();
    wireShortcuts();
    wireTranslation();

    fitToScreen();

    runStartUp();
    fitCaptions(clientArea);
    panels->armingPanel()->alignDelayBoxes();
    watchEdits();
    setUnsavedEdits(false);
    applyQtTranslations();
    const QChar startLanguage = options.language.isNull() ? prefs.language() : options.language;
    if (startLanguage == QLatin1Char('E'))
        guarded([this] { switchLanguage(QLatin1Char('E')); });
}

MainWindow::~MainWindow()
{
    shutDown();
    boxes.setTranslator(nullptr);
}

QString MainWindow::inLanguage(const QString &russian) const
{
    return translateMessage(russian, shared.LanguageCode, dictionaryPath(shared));
}

void MainWindow::fitToScreen()
{
    // The designed frame: client area 933 × 659 under the menu, placed at
    // 177, 29 on the screen; on a smaller screen the window takes the
    // available area and the settings scroll.
    QSize size(933, 659 + menuBar()->sizeHint().height());
    QPoint place(177, 29);
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        // The frame the window manager adds around the client area.
        const QSize frame(16, 40);
        size = size.boundedTo(available.size() - frame);
        place.setX(qMax(available.left(), qMin(place.x(), available.right() - size.width() - frame.width())));
        place.setY(qMax(available.top(), qMin(place.y(), available.bottom() - size.height() - frame.height())));
    }
    resize(size);
    move(place);
}

void MainWindow::buildMenu()
{
    menuFile = menuBar()->addMenu(QStringLiteral("&Файл"));
    menuFile->setObjectName(QStringLiteral("N1"));
    loadFileAction = makeAction(menuFile, "N3", QStringLiteral("&Загрузить конфигурацию из файла"), QKeySequence::Open);
    saveFileAction = makeAction(menuFile, "N4", QStringLiteral("&Сохранить конфигурацию в файл"), QKeySequence::Save);
    menuRecent = menuFile->addMenu(QStringLiteral("&Последние файлы"));
    menuRecent->setObjectName(QStringLiteral("menuRecent"));
    menuFile->addSeparator()->setObjectName(QStringLiteral("N5"));
    exitAction = makeAction(menuFile, "N7", QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitAction, &QAction::triggered, this, [this] { guarded([this] { askAndExit(); }); });

    menuExchange = menuBar()->addMenu(QStringLiteral("&Обмен с устройством"));
    menuExchange->setObjectName(QStringLiteral("N2"));
    connectAction = makeAction(menuExchange, "N8", QStringLiteral("Соединить"));
    writeSettingsAction = makeAction(menuExchange, "N9", QStringLiteral("&Записать параметры"));
    readSettingsAction = makeAction(menuExchange, "N10", QStringLiteral("С&читать параметры"));
    keyProgrammingAction = makeAction(menuExchange, "N15", QStringLiteral("&Программировать ключи"));

    menuAbout = menuBar()->addMenu(QStringLiteral("О &программе"));
    menuAbout->setObjectName(QStringLiteral("N6"));
    helpAction = makeAction(menuAbout, "N16", QStringLiteral("&Справка"), QKeySequence::HelpContents);
    manufacturerAction = makeAction(menuAbout, "N17", QStringLiteral("О п&роизводителе"));
    connect(helpAction, &QAction::triggered, this, [this] { guarded([this] { showHelp(); }); });
    connect(manufacturerAction, &QAction::triggered, this, [this] { guarded([this] { showManufacturerPanel(); }); });

    menuLanguage = menuBar()->addMenu(QStringLiteral("Выбор &Языка"));
    menuLanguage->setObjectName(QStringLiteral("N13"));
    russianAction = makeAction(menuLanguage, "menu_russian", QStringLiteral("Русский"));
    englishAction = makeAction(menuLanguage, "menu_english", QStringLiteral("Английский"));
    russianAction->setCheckable(true);
    englishAction->setCheckable(true);
    russianAction->setChecked(true);
}

void MainWindow::buildFrame()
{
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    clientArea = new QWidget;
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(933, 640);
    scrollArea->setWidget(clientArea);
    setCentralWidget(scrollArea);

    bottomBar = new QFrame(clientArea);
    bottomBar->setObjectName(QStringLiteral("Panel6"));
    bottomBar->setFrameShape(QFrame::StyledPanel);
    bottomBar->setGeometry(0, 575, 921, 49);

    signalCaption = new QLabel(QStringLiteral("Уровень сигнала"), bottomBar);
    signalCaption->setObjectName(QStringLiteral("Label1"));
    signalCaption->setGeometry(8, 4, 118, 16);
    signalGauge = new QProgressBar(bottomBar);
    signalGauge->setObjectName(QStringLiteral("Gauge_Signal"));
    signalGauge->setRange(0, 100);
    signalGauge->setValue(0);
    signalGauge->setGeometry(128, 4, 150, 16);
    signalRefreshButton = makeButton(bottomBar, "Button_YrSignal", QStringLiteral("Обновить"), {284, 2, 80, 20});
    signalLabel = new QLabel(QStringLiteral("."), bottomBar);
    signalLabel->setObjectName(QStringLiteral("Label_Signal"));
    signalLabel->setGeometry(372, 4, 120, 16);
    signalLabel->setAutoFillBackground(true);
    keepOutOfTranslation(signalLabel);

    keyProgrammingButton
        = makeButton(bottomBar, "BitBtn4", QStringLiteral("Программирование ключей ТМ"), {4, 24, 220, 22});
    writeSettingsButton
        = makeButton(bottomBar, "BitBtn1", QStringLiteral("Запись настроек в память прибора"), {228, 24, 240, 22});
    readSettingsButton
        = makeButton(bottomBar, "BitBtn2", QStringLiteral("Чтение настроек из памяти прибора"), {472, 24, 240, 22});
    connectButton = makeButton(bottomBar, "BitBtn3", QStringLiteral("Соединить"), {716, 24, 200, 22});

    portList = new QComboBox(bottomBar);
    portList->setObjectName(QStringLiteral("ComboBox1"));
    portList->setVisible(false);
    portList->setEnabled(false);
    keepOutOfTranslation(portList);

    // The key programming panel and the key prompt lie over the middle of
    // the window; both start hidden and disabled.
    keyFrame = new QFrame(clientArea);
    keyFrame->setObjectName(QStringLiteral("Panel_key"));
    keyFrame->setFrameShape(QFrame::Panel);
    keyFrame->setGeometry(256, 112, 545, 385);
    keyFrame->setAutoFillBackground(true);
    keyFrame->setVisible(false);
    keyFrame->setEnabled(false);

    keyPrompt = new QFrame(clientArea);
    keyPrompt->setObjectName(QStringLiteral("Panel7"));
    keyPrompt->setFrameShape(QFrame::Panel);
    keyPrompt->setGeometry(320, 232, 265, 89);
    keyPrompt->setAutoFillBackground(true);
    auto *prompt = new QLabel(QStringLiteral("Поднесите ключ к считывателю"), keyPrompt);
    prompt->setObjectName(QStringLiteral("Label_key_prompt"));
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setGeometry(8, 8, 249, 73);
    keyPrompt->setVisible(false);
    keyPrompt->setEnabled(false);

    logView = new QPlainTextEdit(clientArea);
    logView->setObjectName(QStringLiteral("Memo1"));
    logView->setReadOnly(true);
    logView->setVisible(false);
    connect(&eventLog, &EventLog::lineAdded, logView, &QPlainTextEdit::appendPlainText);
}

void MainWindow::buildStatusBar()
{
    auto *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    // The designed 19 pixels, or what the font needs.
    bar->setFixedHeight(qMax(19, bar->fontMetrics().height() + 6));
    const int widths[4] = {250, 200, 80, 150};
    for (int i = 0; i < 4; ++i) {
        statusPanels[i] = new StatusPanel(widths[i], bar);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setAlignment(i >= 2 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(statusPanels[i]);
    }
    // Another program holding the connected port open; hidden without one.
    statusWarning = new StatusPanel(0, bar);
    statusWarning->setObjectName(QStringLiteral("StatusWarning"));
    statusWarning->setStyleSheet(QStringLiteral("color: #b00000;"));
    statusWarning->setVisible(false);
    bar->addWidget(statusWarning);
    statusFile = new StatusPanel(0, bar);
    statusFile->setObjectName(QStringLiteral("StatusFile"));
    bar->addWidget(statusFile, 1);
    // The link to the last load's report, when it has entries.
    statusReport = new QLabel(bar);
    statusReport->setObjectName(QStringLiteral("StatusReport"));
    statusReport->setTextFormat(Qt::RichText);
    statusReport->setVisible(false);
    bar->addWidget(statusReport);
    connect(statusReport, &QLabel::linkActivated, this, [this] { guarded([this] { showLoadReport(); }); });
}

void MainWindow::buildManufacturerPanel()
{
    manufacturerPanel = new QFrame(clientArea);
    manufacturerPanel->setObjectName(QStringLiteral("Panel2"));
    manufacturerPanel->setFrameShape(QFrame::Panel);
    manufacturerPanel->setGeometry(160, 8, 649, 577);
    manufacturerPanel->setAutoFillBackground(true);

    auto *image = new QLabel(manufacturerPanel);
    image->setObjectName(QStringLiteral("Image2"));
    image->setGeometry(24, 8, 601, 185);
    image->setPixmap(QPixmap(QStringLiteral(":/zarven/banner.jpg")));

    auto *inner = new QFrame(manufacturerPanel);
    inner->setObjectName(QStringLiteral("Panel3"));
    inner->setGeometry(24, 200, 601, 320);
    inner->setAutoFillBackground(true);
    QPalette pal = inner->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 225));
    inner->setPalette(pal);

    QFont bold(QStringLiteral("Arial"), 12);
    bold.setBold(true);
    const QStringList lines = {
        QStringLiteral("Здравствуйте!"),
        QStringLiteral("Добро пожаловать в конфигуратор контроллера ЗАРВЕН-4."),
        QStringLiteral("Благодарим Вас за выбор нашей продукции."),
        QStringLiteral("Мы будем рады ответить на Ваши вопросы"),
        QStringLiteral("и выслушать Ваши предложения."),
        QStringLiteral("Служба поддержки: +7 000 000-00-00, support@example.org"),
        QStringLiteral("Изготовитель контроллеров ЗАРВЕН"),
    };
    auto *layout = new QVBoxLayout(inner);
    for (int i = 0; i < lines.size(); ++i) {
        auto *label = new QLabel(lines[i], inner);
        label->setObjectName(QStringLiteral("Label_maker%1").arg(i + 1));
        label->setFont(bold);
        layout->addWidget(label);
    }
    // The tool's own version, beside the maker's lines; the number itself
    // stays out of the translation.
    auto *versionRow = new QHBoxLayout;
    auto *versionCaption = new QLabel(QStringLiteral("Версия программы:"), inner);
    versionCaption->setObjectName(QStringLiteral("Label_version_caption"));
    auto *version = new QLabel(QStringLiteral(ZARVEN_VERSION), inner);
    version->setObjectName(QStringLiteral("Label_version"));
    keepOutOfTranslation(version);
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(version);
    versionRow->addStretch();
    layout->addLayout(versionRow);
    auto *goWeb = new QPushButton(QStringLiteral("Перейти на сайт изготовителя"), inner);
    goWeb->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(goWeb);
    connect(goWeb, &QPushButton::clicked, this, [this] { openManufacturerSite(); });

    auto *close = makeButton(manufacturerPanel, "Button1", QStringLiteral("Закрыть"), {274, 530, 100, 28});
    connect(close, &QPushButton::clicked, this, [this] { hideManufacturerPanel(); });
    // Escape closes the manufacturer panel as it closes a dialog.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), manufacturerPanel);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (manufacturerPanel->isVisible())
            hideManufacturerPanel();
    });

    manufacturerPanel->setVisible(false);
    manufacturerPanel->setEnabled(false);
}

void MainWindow::runStartUp()
{
    guarded([this] {
        shared.LanguageCode = QLatin1Char('R');
        shared.PacketStart = QByteArray("\xFE\xFF", 2);
        shared.PacketStop = QByteArray("\xFF\xFE", 2);
        framer.setStartString(shared.PacketStart);
        framer.setStopString(shared.PacketStop);
        shared.ConnectedPort.clear();
        portList->clear();
        portList->addItems(ListSerialPorts(options.extraPorts, options.includeSystemPorts));
        // The port panel names a port this machine has: the first listed
        // one, or none (the port starts as "COM1", which Linux has not).
        if (!port->Connected())
            port->setPort(portList->count() > 0 ? portList->itemText(0) : QString());
        const QString time = longTimeText();
        panels->phonePanel()->timeEdit->setText(time);
        const QString date = QDate::currentDate().toString(QStringLiteral("dd.MM.yy"));
        panels->phonePanel()->dateEdit->setText(date);
        statusPanels[2]->setText(date);
        statusPanels[3]->setText(time);
        shared.ProgramDir = programFolder(options.workDir);
        // The default folder is made on first start; a folder named with
        // --workdir is used as it is.
        const bool folderReady = !options.workDir.isEmpty() || ensureProgramFolder(shared.ProgramDir);
        if (folderReady)
            installShippedDictionary(shared.ProgramDir);
        panels->startUp();
        showTranslated(statusPanels[0], portStateText(), [this](const QString &t) { return inLanguage(t); });
        if (!folderReady)
            throw FileError(QStringLiteral("Не удалось создать папку программы ") + shared.ProgramDir);
    });
}

void MainWindow::shutDown()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    if (busyCursor_) {
        busyCursor_ = false;
        QApplication::restoreOverrideCursor();
    }
    guarded([this] {
        if (port->Connected()) {
            port->PurgePort(true, true);
            port->ClosePort();
        }
    });
    guarded([this] { eventLog.writeTo(shared.programFile(QStringLiteral("log.log"))); });
}

QString MainWindow::portStateText() const
{
    return (port->Connected() ? QStringLiteral("Открыт (Com=") : QStringLiteral("Закрыт (Com="))
        + port->Port() + QLatin1Char(')');
}

void MainWindow::onClockTick()
{
    const QString time = longTimeText();
    statusPanels[3]->setText(time);
    panels->clockTick(time);
    showTranslated(statusPanels[0], portStateText(), [this](const QString &t) { return inLanguage(t); });
}

void MainWindow::askAndExit()
{
    // One question: with unsaved edits the close asks whether to save them
    // (its Cancel keeps the window open), which also settles leaving.
    if (unsavedEdits_ || boxes.question(QStringLiteral("Закрыть приложение?")))
        close();
}

void MainWindow::showHelp()
{
    if (!helpWindow)
        helpWindow = new HelpWindow(this);
    helpWindow->showGuide(shared.LanguageCode, helpAction->text().remove(QLatin1Char('&')));
}

void MainWindow::showManufacturerPanel()
{
    manufacturerPanel->setVisible(true);
    manufacturerPanel->setEnabled(true);
    manufacturerPanel->raise();
    manufacturerPanel->repaint();
}

void MainWindow::hideManufacturerPanel()
{
    manufacturerPanel->setVisible(false);
}

void MainWindow::openManufacturerSite()
{
    // The result is not checked: a machine without a browser simply opens
    // nothing.
    QDesktopServices::openUrl(QUrl(kWebAddress));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    shutDown();
    QMainWindow::closeEvent(event);
}

} // namespace zarven
