// The window while it waits for the controller, against the simulator: what
// the status bar says, what is disabled, "Отмена" and Escape ending the wait
// at once, the key prompt's count-down, a failed write's "Повторить", and the
// questions before a write (the window's clock, warnings).

#include "exchange_fixture.h"
#include "sim_process.h"

#include "config_file/config_files.h"
#include "exchange/exchange_activity.h"
#include "journal/journalled_write.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"
#include "settings/settings_write.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

// Fast timers but the real ten-second time-out: a wait that ends within a
// fraction of it was ended by the cancel.
TimerIntervals realTimeout()
{
    TimerIntervals t = fastIntervals();
    t.responseTimeoutMs = 10000;
    return t;
}

struct Window {
    explicit Window(const QString &device, const TimerIntervals &intervals = realTimeout())
        : clock(QDateTime(QDate(2026, 12, 10), QTime(9, 24, 40))), f(QStringList{device}, intervals, &clock)
    {
        f.form().shared.ConnectedPort = device;
        f.form().previewAction->setChecked(false);
        f.form().verifyAfterWriteAction->setChecked(false);
        controls().setChecked(QStringLiteral("CheckBox4"), false);
        f.form().configFiles->loadFrom(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg"));
        controls().setText(QStringLiteral("Edit_OUT2Sm"), QStringLiteral("499"));
        controls().setText(QStringLiteral("Edit_Date"), QStringLiteral("10.12.26"));
        controls().setText(QStringLiteral("Edit_time"), QStringLiteral("9:24:00"));
        f.boxes.clear();
    }
    ControlAccess &controls() { return f.form().configFiles->controls(); }
    bool busy() { return f.form().busyCancelButton->isVisible(); }
    QString status() { return f.form().busyLabel->text(); }

    ManualClock clock;
    ExchangeFixture f;
};

} // namespace

class WindowBusyTest : public QObject {
    Q_OBJECT
private slots:
    void cancelEndsEachWaitAtOnce_data()
    {
        QTest::addColumn<QString>("silent");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("label");
        QTest::newRow("read") << "Pt" << "BitBtn2" << "Чтение настроек";
        QTest::newRow("compare") << "Pt" << "menu_compare" << "Сравнение с прибором";
        QTest::newRow("signal") << "Sg" << "Button_YrSignal" << "Запрос уровня сигнала";
    }
    void cancelEndsEachWaitAtOnce()
    {
        QFETCH(QString, silent);
        QFETCH(QString, start);
        QFETCH(QString, label);
        SimProcess sim({QStringLiteral("--silent"), silent});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        Window w(sim.devicePath());
        MainWindow &form = w.f.form();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        if (auto *button = form.findChild<QPushButton *>(start))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            form.findChild<QAction *>(start)->trigger();
        QVERIFY(w.busy());
        QCOMPARE(w.status(), label + QStringLiteral("… 0 с"));
        for (QWidget *b : {form.readSettingsButton, form.writeSettingsButton, form.connectButton})
            QVERIFY(!b->isEnabled());
        QVERIFY(!form.compareAction->isEnabled());
        w.clock.advanceMs(3000);
        QTRY_COMPARE(w.status(), label + QStringLiteral("… 3 с"));

        QElapsedTimer elapsed;
        elapsed.start();
        QTest::keyClick(&form, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 1000);
        QVERIFY(elapsed.elapsed() < 2000);
        QCOMPARE(w.f.state(), int(ssIdle));
        QVERIFY(!form.responseTimer->isActive());
        QVERIFY(w.f.boxes.texts().isEmpty()); // no time-out box
        for (QWidget *b : {form.readSettingsButton, form.writeSettingsButton, form.connectButton})
            QVERIFY(b->isEnabled());
        QVERIFY(form.compareAction->isEnabled());
    }

    void keyPromptCountsDownAndEscapeCloses()
    {
        SimProcess sim({QStringLiteral("--silent"), QStringLiteral("Kr")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        Window w(sim.devicePath());
        MainWindow &form = w.f.form();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::mouseClick(form.keyProgrammingButton, Qt::LeftButton);
        QTRY_COMPARE(w.status(), QStringLiteral("Чтение таблицы ключей… 0 с"));
        QTest::mouseClick(form.keyPanel->readKeyButtons[2], Qt::LeftButton);
        auto *wait = form.keyPrompt->findChild<QLabel *>(QStringLiteral("Label_key_wait"));
        QCOMPARE(w.status(), QStringLiteral("Чтение ключа… 0 с"));
        QCOMPARE(wait->text(), QStringLiteral("ожидание - 10 секунд"));
        w.clock.advanceMs(7000);
        QTRY_COMPARE(wait->text(), QStringLiteral("ожидание - 3 секунды"));
        w.clock.advanceMs(2500);
        QTRY_COMPARE(wait->text(), QStringLiteral("ожидание - 1 секунда"));
        QTest::keyClick(&form, Qt::Key_Escape);
        QTRY_VERIFY(form.keyPrompt->isHidden());
        QVERIFY(form.keyFrame->isEnabled());
        QTRY_COMPARE(wait->text(), QStringLiteral("ожидание - 10 секунд"));
    }

    void failedWriteSaysWhatTheControllerMayHoldAndRetries()
    {
        SimProcess sim({QStringLiteral("--silent"), QStringLiteral("write")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        Window w(sim.devicePath());
        MainWindow &form = w.f.form();
        form.settingsWrite->setOffersRetry(true);
        int writes = 0;
        QObject::connect(&w.f.core(), &ExchangeCore::exchangeStarting, [&](int s) { writes += s == ssWriteSettings; });
        // Retried once, then closed; the second time by its time-out.
        w.f.boxes.queueChoices({0, 1});
        QTest::mouseClick(form.writeSettingsButton, Qt::LeftButton);
        QTRY_VERIFY(w.busy() && form.shared.SessionState == ssWriteSettings);
        QCOMPARE(w.status(), QStringLiteral("Запись настроек… 0 с"));
        QTest::mouseClick(form.busyCancelButton, Qt::LeftButton);
        QTRY_COMPARE(writes, 2);
        form.responseTimer->setInterval(50);
        QTRY_COMPARE(w.f.boxes.texts().size(), 2);
        const QString failure = QStringLiteral("НЕТ ответа о окончании записи в устройство\n"
                                               "Прибор может хранить прежние настройки или часть новых.\n"
                                               "Повторить\nЗакрыть");
        QCOMPARE(w.f.boxes.texts(), QStringList({failure, failure}));
        QTRY_VERIFY(!w.busy());
        QCOMPARE(writes, 2);
    }

    void staleClockIsAskedBeforeAWrite_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QByteArray>("written"); // the time sent; empty: nothing
        QTest::newRow("yes writes the clock") << 0 << QByteArray("09:24:40");
        QTest::newRow("no writes the window") << 1 << QByteArray("09:07:04");
        QTest::newRow("cancel writes nothing") << 2 << QByteArray();
    }
    void staleClockIsAskedBeforeAWrite()
    {
        QFETCH(int, choice);
        QFETCH(QByteArray, written);
        SimProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        Window w(sim.devicePath(), fastIntervals());
        MainWindow &form = w.f.form();
        form.journalledWrite->setAsksAboutClock(true);
        w.controls().setText(QStringLiteral("Edit_time"), QStringLiteral("9:07:04"));
        std::optional<WriteOutcome> outcome;
        QObject::connect(form.journalledWrite, &JournalledWrite::finished, [&](WriteOutcome o, bool) { outcome = o; });
        w.f.boxes.queueChoices({choice});
        QTest::mouseClick(form.writeSettingsButton, Qt::LeftButton);
        QTRY_VERIFY(outcome.has_value());
        const QString asked = w.f.boxes.texts().value(0);
        QVERIFY2(asked == QStringLiteral("Время в окне отличается от часов компьютера на 17 мин. "
                                         "Записать текущее время?\nДа\nНет\nОтмена"),
                 qPrintable(asked));
        QCOMPARE(*outcome, written.isEmpty() ? WriteOutcome::Refused : WriteOutcome::Acknowledged);
        if (!written.isEmpty())
            QVERIFY(form.settingsWrite->writtenImage().contains(written));
        QCOMPARE(w.controls().checked(QStringLiteral("CheckBox4")), choice == 0);
    }

    void warningsComeBeforeTheWrite_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<bool>("anyway");
        QTest::newRow("box, written anyway") << false << true;
        QTest::newRow("box, cancelled") << false << false;
        QTest::newRow("in the preview, cancelled") << true << false;
    }
    void warningsComeBeforeTheWrite()
    {
        QFETCH(bool, preview);
        QFETCH(bool, anyway);
        SimProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        Window w(sim.devicePath(), fastIntervals());
        MainWindow &form = w.f.form();
        form.previewAction->setChecked(preview);
        w.controls().setChecked(QStringLiteral("CheckBox_td1"), true);
        w.controls().setText(QStringLiteral("SE_min_td1"), QStringLiteral("30"));
        w.controls().setText(QStringLiteral("SE_max_td1"), QStringLiteral("20"));
        std::optional<WriteOutcome> outcome;
        QObject::connect(form.journalledWrite, &JournalledWrite::finished, [&](WriteOutcome o, bool) { outcome = o; });
        w.f.boxes.queueChoices({anyway ? 0 : 1});
        w.f.boxes.queueAnswers({anyway});
        QTest::mouseClick(form.writeSettingsButton, Qt::LeftButton);
        QTRY_VERIFY(outcome.has_value());
        const QString warning = QStringLiteral(
            "«Термодатчик 1 / Порог опасной температуры Min» (30) не ниже «Термодатчик 1 / Порог опасной "
            "температуры Max» (20): датчик всегда вне пределов.");
        const QString first = w.f.boxes.texts().value(0);
        QVERIFY2(first.startsWith(preview ? QStringLiteral("Запись изменит в приборе:\n") + warning + QStringLiteral("\n\n")
                                          : QStringLiteral("Проверьте перед записью:\n") + warning
                                                + QStringLiteral("\nЗаписать всё равно\nОтмена")),
                 qPrintable(first));
        QCOMPARE(*outcome, anyway ? WriteOutcome::Acknowledged : WriteOutcome::Refused);
    }
};

QTEST_MAIN(WindowBusyTest)
#include "test_window_busy.moc"
