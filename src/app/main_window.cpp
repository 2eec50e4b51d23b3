#include "app/main_window.h"
#include "app/fit_captions.h"
#include "app/help_window.h"
#include "app/program_folder.h"
#include "translate/message_translation.h"
#include "translate/shipped_dictionary.h"
#include "translate/translation.h"

#include "config_file/config_files.h"
#include "editor/arming_panel.h"
#include "editor/phone_panel.h"
#include "editor/settings_panels.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"

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

TForm1::TForm1(const AppOptions &opts, MessageBoxes &messageBoxes, QWidget *parent)
    : QMainWindow(parent), options(opts), boxes(messageBoxes), prefs(opts.userSession)
{
    initZarvenResources();
    // Every box the window shows is written in Russian and passes through
    // the dictionary's message section of the current language.
    boxes.setTranslator([this](const QString &text) { return inLanguage(text); });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);

    ComPort1 = new TComPort(this);
    ComPort1->setObjectName(QStringLiteral("ComPort1"));
    ComPort1->setReceiver([this](const QByteArray &chunk) { ComDataPacket1.FeedBytes(chunk); });
    ComPort1->setErrorReporter([this](const QString &message) { boxes.error(message); });
    ComDataPacket1.setStartString(shared.PacketStart);
    ComDataPacket1.setStopString(shared.PacketStop);
    ComDataPacket1.setMaxBufferSize(1024);

    const auto &iv = options.intervals;
    Timer1 = makeTimer(this, "Timer1", iv.scanStepMs, false);
    Timer2 = makeTimer(this, "Timer2", iv.clockMs, true);
    Timer3 = makeTimer(this, "Timer3", iv.responseTimeoutMs, false);
    Timer4 = makeTimer(this, "Timer4", iv.idleCloseMs, true);
    connect(Timer2, &QTimer::timeout, this, [this] { guarded([this] { Timer2Timer(); }); });

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
    wireTranslation();

    fitToScreen();

    FormCreate();
    fitCaptions(clientArea);
    panels->armingPanel()->alignDelayBoxes();
    watchEdits();
    setUnsavedEdits(false);
    applyQtTranslations();
    const QChar startLanguage = options.language.isNull() ? prefs.language() : options.language;
    if (startLanguage == QLatin1Char('E'))
        guarded([this] { switchLanguage(QLatin1Char('E')); });
}

TForm1::~TForm1()
{
    FormDestroy();
    boxes.setTranslator(nullptr);
}

QString TForm1::inLanguage(const QString &russian) const
{
    return translateMessage(russian, shared.LanguageCode, dictionaryPath(shared));
}

void TForm1::fitToScreen()
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

void TForm1::buildMenu()
{
    menuFile = menuBar()->addMenu(QStringLiteral("&Файл"));
    menuFile->setObjectName(QStringLiteral("N1"));
    N3 = makeAction(menuFile, "N3", QStringLiteral("&Загрузить конфигурацию из файла"), QKeySequence::Open);
    N4 = makeAction(menuFile, "N4", QStringLiteral("&Сохранить конфигурацию в файл"), QKeySequence::Save);
    menuRecent = menuFile->addMenu(QStringLiteral("&Последние файлы"));
    menuRecent->setObjectName(QStringLiteral("menuRecent"));
    menuFile->addSeparator()->setObjectName(QStringLiteral("N5"));
    N7 = makeAction(menuFile, "N7", QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(N7, &QAction::triggered, this, [this] { guarded([this] { N7Click(); }); });

    menuExchange = menuBar()->addMenu(QStringLiteral("&Обмен с устройством"));
    menuExchange->setObjectName(QStringLiteral("N2"));
    N8 = makeAction(menuExchange, "N8", QStringLiteral("Соединить"));
    N9 = makeAction(menuExchange, "N9", QStringLiteral("&Записать параметры"));
    N10 = makeAction(menuExchange, "N10", QStringLiteral("С&читать параметры"));
    N15 = makeAction(menuExchange, "N15", QStringLiteral("&Программировать ключи"));

    menuAbout = menuBar()->addMenu(QStringLiteral("О &программе"));
    menuAbout->setObjectName(QStringLiteral("N6"));
    N16 = makeAction(menuAbout, "N16", QStringLiteral("&Справка"), QKeySequence::HelpContents);
    N17 = makeAction(menuAbout, "N17", QStringLiteral("О п&роизводителе"));
    connect(N16, &QAction::triggered, this, [this] { guarded([this] { N16Click(); }); });
    connect(N17, &QAction::triggered, this, [this] { guarded([this] { N17Click(); }); });

    menuLanguage = menuBar()->addMenu(QStringLiteral("Выбор &Языка"));
    menuLanguage->setObjectName(QStringLiteral("N13"));
    menu_russian = makeAction(menuLanguage, "menu_russian", QStringLiteral("Русский"));
    menu_english = makeAction(menuLanguage, "menu_english", QStringLiteral("Английский"));
    menu_russian->setCheckable(true);
    menu_english->setCheckable(true);
    menu_russian->setChecked(true);
}

void TForm1::buildFrame()
{
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    clientArea = new QWidget;
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(933, 640);
    scrollArea->setWidget(clientArea);
    setCentralWidget(scrollArea);

    Panel6 = new QFrame(clientArea);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFrameShape(QFrame::StyledPanel);
    Panel6->setGeometry(0, 575, 921, 49);

    Label_SignalCaption = new QLabel(QStringLiteral("Уровень сигнала"), Panel6);
    Label_SignalCaption->setObjectName(QStringLiteral("Label1"));
    Label_SignalCaption->setGeometry(8, 4, 118, 16);
    Gauge_Signal = new QProgressBar(Panel6);
    Gauge_Signal->setObjectName(QStringLiteral("Gauge_Signal"));
    Gauge_Signal->setRange(0, 100);
    Gauge_Signal->setValue(0);
    Gauge_Signal->setGeometry(128, 4, 150, 16);
    Button_YrSignal = makeButton(Panel6, "Button_YrSignal", QStringLiteral("Обновить"), {284, 2, 80, 20});
    Label_Signal = new QLabel(QStringLiteral("."), Panel6);
    Label_Signal->setObjectName(QStringLiteral("Label_Signal"));
    Label_Signal->setGeometry(372, 4, 120, 16);
    Label_Signal->setAutoFillBackground(true);
    keepOutOfTranslation(Label_Signal);

    BitBtn4 = makeButton(Panel6, "BitBtn4", QStringLiteral("Программирование ключей ТМ"), {4, 24, 220, 22});
    BitBtn1 = makeButton(Panel6, "BitBtn1", QStringLiteral("Запись настроек в память прибора"), {228, 24, 240, 22});
    BitBtn2 = makeButton(Panel6, "BitBtn2", QStringLiteral("Чтение настроек из памяти прибора"), {472, 24, 240, 22});
    BitBtn3 = makeButton(Panel6, "BitBtn3", QStringLiteral("Соединить"), {716, 24, 200, 22});

    ComboBox1 = new QComboBox(Panel6);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setVisible(false);
    ComboBox1->setEnabled(false);
    keepOutOfTranslation(ComboBox1);

    // The key programming panel and the key prompt lie over the middle of
    // the window; both start hidden and disabled.
    Panel_key = new QFrame(clientArea);
    Panel_key->setObjectName(QStringLiteral("Panel_key"));
    Panel_key->setFrameShape(QFrame::Panel);
    Panel_key->setGeometry(256, 112, 545, 385);
    Panel_key->setAutoFillBackground(true);
    Panel_key->setVisible(false);
    Panel_key->setEnabled(false);

    Panel7 = new QFrame(clientArea);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFrameShape(QFrame::Panel);
    Panel7->setGeometry(320, 232, 265, 89);
    Panel7->setAutoFillBackground(true);
    auto *prompt = new QLabel(QStringLiteral("Поднесите ключ к считывателю"), Panel7);
    prompt->setObjectName(QStringLiteral("Label_key_prompt"));
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setGeometry(8, 8, 249, 73);
    Panel7->setVisible(false);
    Panel7->setEnabled(false);

    Memo1View = new QPlainTextEdit(clientArea);
    Memo1View->setObjectName(QStringLiteral("Memo1"));
    Memo1View->setReadOnly(true);
    Memo1View->setVisible(false);
    connect(&Memo1, &EventLog::lineAdded, Memo1View, &QPlainTextEdit::appendPlainText);
}

void TForm1::buildStatusBar()
{
    auto *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(19);
    const int widths[4] = {250, 200, 80, 150};
    for (int i = 0; i < 4; ++i) {
        statusPanels[i] = new QLabel(bar);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setFixedWidth(widths[i]);
        statusPanels[i]->setAlignment(i >= 2 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(statusPanels[i]);
    }
    statusFile = new QLabel(bar);
    statusFile->setObjectName(QStringLiteral("StatusFile"));
    statusFile->setMinimumWidth(40);
    bar->addWidget(statusFile, 1);
}

void TForm1::buildManufacturerPanel()
{
    Panel2 = new QFrame(clientArea);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setGeometry(160, 8, 649, 577);
    Panel2->setAutoFillBackground(true);

    auto *image = new QLabel(Panel2);
    image->setObjectName(QStringLiteral("Image2"));
    image->setGeometry(24, 8, 601, 185);
    image->setPixmap(QPixmap(QStringLiteral(":/zarven/banner.jpg")));

    auto *inner = new QFrame(Panel2);
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
    auto *goWeb = new QPushButton(QStringLiteral("Перейти на сайт изготовителя"), inner);
    goWeb->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(goWeb);
    connect(goWeb, &QPushButton::clicked, this, [this] { Button2Click(); });

    auto *close = makeButton(Panel2, "Button1", QStringLiteral("Закрыть"), {274, 530, 100, 28});
    connect(close, &QPushButton::clicked, this, [this] { Button1Click(); });
    // Escape closes the manufacturer panel as it closes a dialog.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), Panel2);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (Panel2->isVisible())
            Button1Click();
    });

    Panel2->setVisible(false);
    Panel2->setEnabled(false);
}

void TForm1::FormCreate()
{
    guarded([this] {
        shared.LanguageCode = QLatin1Char('R');
        shared.PacketStart = QByteArray("\xFE\xFF", 2);
        shared.PacketStop = QByteArray("\xFF\xFE", 2);
        ComDataPacket1.setStartString(shared.PacketStart);
        ComDataPacket1.setStopString(shared.PacketStop);
        shared.ConnectedPort.clear();
        ComboBox1->clear();
        ComboBox1->addItems(ListSerialPorts(options.extraPorts, options.includeSystemPorts));
        const QString time = longTimeText();
        panels->phonePanel()->Edit_time->setText(time);
        const QString date = QDate::currentDate().toString(QStringLiteral("dd.MM.yy"));
        panels->phonePanel()->Edit_Date->setText(date);
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

void TForm1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    if (busyCursor_) {
        busyCursor_ = false;
        QApplication::restoreOverrideCursor();
    }
    guarded([this] {
        if (ComPort1->Connected()) {
            ComPort1->PurgePort(true, true);
            ComPort1->ClosePort();
        }
    });
    guarded([this] { Memo1.writeTo(shared.programFile(QStringLiteral("log.log"))); });
}

QString TForm1::portStateText() const
{
    return (ComPort1->Connected() ? QStringLiteral("Открыт (Com=") : QStringLiteral("Закрыт (Com="))
        + ComPort1->Port() + QLatin1Char(')');
}

void TForm1::Timer2Timer()
{
    const QString time = longTimeText();
    statusPanels[3]->setText(time);
    panels->clockTick(time);
    showTranslated(statusPanels[0], portStateText(), [this](const QString &t) { return inLanguage(t); });
}

void TForm1::N7Click()
{
    if (boxes.question(QStringLiteral("Закрыть приложение?")))
        close();
}

void TForm1::N16Click()
{
    if (!helpWindow)
        helpWindow = new HelpWindow(this);
    helpWindow->showGuide(shared.LanguageCode, N16->text().remove(QLatin1Char('&')));
}

void TForm1::N17Click()
{
    Panel2->setVisible(true);
    Panel2->setEnabled(true);
    Panel2->raise();
    Panel2->repaint();
}

void TForm1::Button1Click()
{
    Panel2->setVisible(false);
}

void TForm1::Button2Click()
{
    // The result is not checked: a machine without a browser simply opens
    // nothing.
    QDesktopServices::openUrl(QUrl(kWebAddress));
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    FormDestroy();
    QMainWindow::closeEvent(event);
}

} // namespace zarven
