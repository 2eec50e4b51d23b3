// Wires the running exchange into the window: while a read, write, compare,
// key exchange or signal query waits for the controller, the status bar says
// what runs and for how long ("Чтение настроек… 3 с") beside "Отмена", which
// Escape also presses; the buttons and menu items that start exchanges are
// disabled meanwhile; the key prompt counts its wait down. A failed write's
// "Повторить" starts the write again.

#include "app/main_window.h"
#include "editor/phone_panel.h"
#include "editor/settings_panels.h"
#include "exchange/device_exchange.h"
#include "exchange/exchange_activity.h"
#include "exchange/signal_monitor.h"
#include "journal/journalled_write.h"
#include "settings/settings_write.h"
#include "translate/translation.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace zarven {

namespace {

const QString kKeyWait = QStringLiteral("ожидание - 10 секунд");

// "ожидание - 7 секунд", "… 3 секунды", "… 1 секунда".
QString keyWaitText(int seconds)
{
    const int last = seconds % 10;
    const bool teen = seconds % 100 >= 11 && seconds % 100 <= 14;
    if (!teen && last == 1)
        return QStringLiteral("ожидание - %1 секунда");
    if (!teen && last >= 2 && last <= 4)
        return QStringLiteral("ожидание - %1 секунды");
    return QStringLiteral("ожидание - %1 секунд");
}

} // namespace

void MainWindow::wireBusy()
{
    panels->phonePanel()->today = [this] { return clock().now().date(); };
    journalledWrite->setClock(&clock());
    exchangeActivity = new ExchangeActivity(exchange->core, clock(), this);
    // The monitor's polls run by themselves, one a second; the window stays
    // usable between and during them.
    exchangeActivity->setLeftOut(
        [this](int state) { return state == ssSignalLevel && signalMonitor && signalMonitor->running(); });

    busyLabel = new QLabel(statusBar());
    busyLabel->setObjectName(QStringLiteral("StatusBusy"));
    keepOutOfTranslation(busyLabel);
    busyCancelButton = new QPushButton(QStringLiteral("Отмена"), statusBar());
    busyCancelButton->setObjectName(QStringLiteral("busyCancelButton"));
    busyCancelButton->setFixedHeight(17);
    busyCancelButton->setFocusPolicy(Qt::NoFocus);
    statusBar()->addPermanentWidget(busyLabel);
    statusBar()->addPermanentWidget(busyCancelButton);
    busyLabel->setVisible(false);
    busyCancelButton->setVisible(false);
    // On the button: the shortcut counts only while the button shows.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), busyCancelButton);
    escape->setContext(Qt::WindowShortcut);
    auto cancel = [this] { guarded([this] { exchangeActivity->cancel(); }); };
    connect(busyCancelButton, &QPushButton::clicked, this, cancel);
    connect(escape, &QShortcut::activated, this, cancel);

    const QList<QWidget *> buttons = {connectButton, writeSettingsButton, readSettingsButton, keyProgrammingButton,
                                      signalRefreshButton};
    const QList<QAction *> actions = {connectAction, writeSettingsAction, readSettingsAction, keyProgrammingAction,
                                      compareAction};
    // Only what this disabled comes back: a control that something else
    // disabled stays so.
    auto disabledButtons = std::make_shared<QList<QPointer<QWidget>>>();
    auto disabledActions = std::make_shared<QList<QPointer<QAction>>>();
    auto *keyWait = keyPrompt->findChild<QLabel *>(QStringLiteral("Label_key_wait"));

    connect(exchangeActivity, &ExchangeActivity::started, this, [=, this] {
        for (QWidget *b : buttons)
            if (b->isEnabled()) {
                b->setEnabled(false);
                disabledButtons->append(b);
            }
        for (QAction *a : actions)
            if (a->isEnabled()) {
                a->setEnabled(false);
                disabledActions->append(a);
            }
        busyLabel->setVisible(true);
        busyCancelButton->setText(captionInCurrentLanguage(shared, QStringLiteral("Отмена")));
        busyCancelButton->setVisible(true);
    });
    connect(exchangeActivity, &ExchangeActivity::finished, this, [=, this] {
        for (const auto &b : std::as_const(*disabledButtons))
            if (b)
                b->setEnabled(true);
        for (const auto &a : std::as_const(*disabledActions))
            if (a)
                a->setEnabled(true);
        disabledButtons->clear();
        disabledActions->clear();
        busyLabel->clear();
        busyLabel->setVisible(false);
        busyCancelButton->setVisible(false);
        if (keyWait)
            keyWait->setText(captionInCurrentLanguage(shared, kKeyWait));
    });
    connect(exchangeActivity, &ExchangeActivity::changed, this, [=, this] {
        busyLabel->setText(exchangeActivity->statusText(
            [this](const QString &text) { return statusTextInCurrentLanguage(shared, text); }));
        if (keyWait && exchangeActivity->waitState() == ssReadKey) {
            const int left = exchangeActivity->secondsLeft();
            keyWait->setText(captionInCurrentLanguage(shared, keyWaitText(left)).arg(left));
        }
    });

    // "Повторить" in the box of a failed write: the write starts again from
    // the top (refusals, clock, preview) once the box's handler has ended.
    connect(settingsWrite, &SettingsWrite::retryRequested, this, [this] {
        QTimer::singleShot(0, this, [this] {
            guarded([this] { exchangeActivity->runAs(QStringLiteral("Запись настроек"), [this] { journalledWrite->start(); }); });
        });
    });
}

} // namespace zarven
