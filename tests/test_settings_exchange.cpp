// Writing the settings to the controller and reading them back, through the
// real port and framer against the simulator on a pseudo-terminal.

#include "batch_run.h"
#include "exchange_fixture.h"
#include "file_bytes.h"
#include "formats_fixture.h"
#include "pty_pair.h"
#include "sim_process.h"

#include "config_file/config_files.h"
#include "config_file/config_writer.h"
#include "config_file/session_stamp.h"
#include "editor/controls.h"
#include "editor/settings_panels.h"
#include "journal/journalled_write.h"
#include "settings/control_names.h"
#include "settings/image_encoder.h"
#include "settings/image_fields.h"
#include "settings/settings_read.h"
#include "settings/settings_write.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <functional>

using namespace zarven;
using namespace zarven::test;

Q_DECLARE_METATYPE(std::function<void(ControlAccess&)>)
Q_DECLARE_METATYPE(zarven::WriteOutcome)

namespace {

using Setup = std::function<void(ControlAccess&)>;

// A window with the rich settings file loaded, manual date and time, and
// the given device as the identified controller.
struct Window {
    explicit Window(const QString& device)
        : f(device.isEmpty() ? QStringList() : QStringList { device })
    {
        f.form().shared.ConnectedPort = device;
        controls().setChecked(QStringLiteral("CheckBox4"), false);
        loaded = f.form().configFiles->loadFrom(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg"));
        f.boxes.clear();
    }
    ControlAccess& controls() { return f.form().configFiles->controls(); }
    QByteArray image() { return encodeWriteStream(controls(), f.form().shared); }
    QByteArray configuration() { return encodeConfiguration(controls(), SessionStamp {}); }

    template <typename Outcome, typename Signal, typename Source>
    int clickAndWait(Source* source, Signal signal, QObject* clickable)
    {
        std::optional<Outcome> outcome;
        QObject::connect(source, signal, [&outcome](Outcome o) { outcome = o; });
        if (auto* button = qobject_cast<QPushButton*>(clickable))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            qobject_cast<QAction*>(clickable)->trigger();
        if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 5 * f.intervals().responseTimeoutMs))
            return -1;
        return outcome ? int(*outcome) : -1;
    }
    // The outcome as a number, -1 when the exchange did not end. The write
    // itself, without the preview before it or the check after it.
    int write(QObject* clickable = nullptr)
    {
        f.form().previewAction->setChecked(false);
        f.form().verifyAfterWriteAction->setChecked(false);
        return clickAndWait<WriteOutcome>(f.form().journalledWrite, &JournalledWrite::finished,
            clickable ? clickable : f.form().writeSettingsButton);
    }
    int read()
    {
        return clickAndWait<ReadOutcome>(
            f.form().settingsRead, &SettingsRead::readFinished, f.form().readSettingsButton);
    }

    ExchangeFixture f;
    bool loaded = false;
};

} // namespace

class SettingsExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void writeThenReadBackKeepsEveryField();
    void acknowledgementDecidesTheDialog_data();
    void acknowledgementDecidesTheDialog();
    void emptyMemoryOffersTheBackup_data();
    void emptyMemoryOffersTheBackup();
    void readWithoutReplyKeepsTheWindow();
    void noControllerOrPortShowsItsMessage_data();
    void noControllerOrPortShowsItsMessage();
    void refusedWriteSendsNothing_data();
    void refusedWriteSendsNothing();
    void menuWriteClampsATypedOutOfRangeNumber();
    void batchReadCutShortByAStopMarkerIsNoSuccess();
    void englishWindowShowsEnglishBoxes_data();
    void englishWindowShowsEnglishBoxes();
};

void SettingsExchangeTest::writeThenReadBackKeepsEveryField()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    QVERIFY(w.loaded);
    // The image carries a single blank for an inactive input's message and
    // a one-digit hour with its leading "0".
    w.controls().setText(QStringLiteral("Edit_time"), QStringLiteral("09:05:07"));
    for (int input = 1; input <= kInputs; ++input)
        if (!w.controls().checked(inputControls(input).active))
            w.controls().setText(inputControls(input).message, QStringLiteral(" "));
    const QByteArray image = w.image();
    const QByteArray configuration = w.configuration();

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(w.write(), int(WriteOutcome::Acknowledged));
    QCOMPARE(w.f.boxes.texts(), QStringList({ QStringLiteral("Процесс записи завершился. Все OK.") }));
    QTRY_VERIFY(!w.f.form().port->Connected());

    // The backup keeps the window from before the read.
    w.f.boxes.clear();
    QCOMPARE(w.read(), int(ReadOutcome::Decoded));
    QCOMPARE(w.f.boxes.texts(), QStringList({ QStringLiteral("Процесс чтения завершился. Все OK.") }));
    QCOMPARE(w.image(), image);
    QCOMPARE(w.configuration(), configuration);
    QFile backup(w.f.form().configFiles->backupPath());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QVERIFY(backup.readAll().startsWith(configuration.left(configuration.indexOf("@message"))));
    // Inactive inputs read back without format errors.
    QVERIFY2(!w.f.log().join(QLatin1Char('\n')).contains(QStringLiteral("Ошибка формата")),
        qPrintable(w.f.log().join(QLatin1Char('\n'))));
    QCOMPARE(w.f.state(), int(ssIdle));
    QTRY_COMPARE(w.f.state(), int(ssClosed));
}

void SettingsExchangeTest::acknowledgementDecidesTheDialog_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<WriteOutcome>("outcome");
    QTest::addColumn<QString>("box");
    QTest::newRow("COK") << QStringList() << WriteOutcome::Acknowledged
                         << QStringLiteral("Процесс записи завершился. Все OK.");
    QTest::newRow("COK and a byte") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("write=text:COK!") })
                                    << WriteOutcome::WrongReply
                                    << QStringLiteral("Ответ об успешной записи не корректен.");
    QTest::newRow("OK") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("write=text:OK") })
                        << WriteOutcome::WrongReply << QStringLiteral("Ответ об успешной записи не корректен.");
    QTest::newRow("none") << QStringList({ QStringLiteral("--silent"), QStringLiteral("write") })
                          << WriteOutcome::TimedOut << QStringLiteral("НЕТ ответа о окончании записи в устройство");
}

void SettingsExchangeTest::acknowledgementDecidesTheDialog()
{
    QFETCH(QStringList, simArgs);
    QFETCH(WriteOutcome, outcome);
    QFETCH(QString, box);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    QCOMPARE(w.write(), int(outcome));
    QCOMPARE(w.f.boxes.shown().size(), 1);
    QCOMPARE(w.f.boxes.shown()[0].kind, BoxKind::Confirmation);
    QCOMPARE(w.f.boxes.shown()[0].text, box);
    QCOMPARE(w.f.state(), int(ssIdle));
    QVERIFY(!w.f.form().responseTimer->isActive());
    QTRY_VERIFY(!w.f.form().port->Connected());

    // Closing the box without Yes leaves the port open.
    if (outcome != WriteOutcome::TimedOut) {
        w.f.boxes.queueAnswers({ false });
        QCOMPARE(w.write(), int(outcome));
        QTest::qWait(3 * w.f.intervals().idleCloseMs);
        QVERIFY(w.f.form().port->Connected());
    }
}

void SettingsExchangeTest::emptyMemoryOffersTheBackup_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("Yes restores the backup") << true;
    QTest::newRow("No keeps the reset window") << false;
}

void SettingsExchangeTest::emptyMemoryOffersTheBackup()
{
    QFETCH(bool, restore);
    SimProcess sim({ QStringLiteral("--wrong"), QStringLiteral("Pt=") });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    const QByteArray before = w.configuration();
    // The same window reset, and the delays an empty image sets to 0.
    Window reset(QString{});
    reset.f.form().panels->cleanPanel();
    reset.controls().setText(QStringLiteral("SE_inp"), QStringLiteral("0"));
    reset.controls().setText(QStringLiteral("SE_out"), QStringLiteral("0"));

    w.f.boxes.queueAnswers({ restore });
    QCOMPARE(w.read(), int(ReadOutcome::MemoryEmpty));
    QCOMPARE(w.f.boxes.shown().size(), 1);
    QCOMPARE(w.f.boxes.shown()[0].kind, BoxKind::Question);
    QCOMPARE(w.f.boxes.shown()[0].text,
        QStringLiteral("Процесс чтения завершился=0.Память чиста.\r\n Восстановить предыдующие значения"));
    const QByteArray expected = restore ? before : reset.configuration();
    QCOMPARE(w.configuration(), expected);
    QCOMPARE(w.f.state(), int(ssIdle));
    QVERIFY(w.f.form().idleCloseTimer->isActive() || !w.f.form().port->Connected());
    QTRY_VERIFY(!w.f.form().port->Connected());
}

void SettingsExchangeTest::readWithoutReplyKeepsTheWindow()
{
    SimProcess sim({ QStringLiteral("--silent"), QStringLiteral("Pt") });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    const QByteArray before = w.configuration();
    QCOMPARE(w.read(), int(ReadOutcome::TimedOut));
    QCOMPARE(w.f.boxes.texts(), QStringList({ QStringLiteral("Превышен период ожидания ответа устройства.") }));
    QCOMPARE(w.configuration(), before);
    // A second read backs up the same settings, not a cleared window.
    QCOMPARE(w.read(), int(ReadOutcome::TimedOut));
    w.f.form().panels->cleanPanel();
    w.f.form().shared.UseBackupFile = true;
    w.f.form().configFiles->loadChosenFile();
    QCOMPARE(w.configuration(), before);
}

void SettingsExchangeTest::noControllerOrPortShowsItsMessage_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("writing");
    QTest::addColumn<QString>("message");
    const QString none = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
    const QString missing = QStringLiteral("/nonexistent/tty");
    const QString findIt = none + QStringLiteral("\r\nНажмите «Соединить», чтобы найти прибор.");
    QTest::newRow("write, no controller") << QString() << true << findIt;
    QTest::newRow("read, no controller") << QString() << false << findIt;
    QTest::newRow("write, port fails") << missing << true
                                       << QStringLiteral("Ошибка соединения с устройством. Проверьте подключение");
    QTest::newRow("read, port fails") << missing << false << none;
}

void SettingsExchangeTest::noControllerOrPortShowsItsMessage()
{
    QFETCH(QString, port);
    QFETCH(bool, writing);
    QFETCH(QString, message);
    Window w(port);
    w.f.form().idleCloseTimer->start();
    const QByteArray before = w.configuration();
    if (writing)
        QCOMPARE(w.write(), int(WriteOutcome::NoConnection));
    else
        QCOMPARE(w.read(), int(ReadOutcome::NoConnection));
    QCOMPARE(w.f.boxes.texts(), QStringList({ message }));
    QCOMPARE(w.f.boxes.shown()[0].kind, BoxKind::Plain);
    QVERIFY(!w.f.form().responseTimer->isActive());
    QVERIFY(!w.f.form().idleCloseTimer->isActive());
    QCOMPARE(w.configuration(), before);
    QVERIFY(!QFile::exists(w.f.form().configFiles->backupPath()));
}

void SettingsExchangeTest::refusedWriteSendsNothing_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("message");
    auto text = [](const char* name, const QString& t) {
        return Setup([=](ControlAccess& c) { c.setText(QLatin1String(name), t); });
    };
    auto none = [](const char* name) { return Setup([=](ControlAccess& c) { c.setIndex(QLatin1String(name), -1); }); };
    const QString number = QStringLiteral("Запись не выполнена: в поле «%1» должно быть целое число.");
    QTest::newRow("minutes not a number") << text("Edit_OUT11m", QStringLiteral("1a")) << number.arg(QStringLiteral("Вход 1 / Реле 2"));
    QTest::newRow("delay not a number")
        << text("SE_inp", QStringLiteral("-")) << number.arg(QStringLiteral("Постановка/Снятие / Время задержки: постановка"));
    QTest::newRow("threshold not a number")
        << text("SE_max_td1", QString()) << number.arg(QStringLiteral("Термодатчик 1 / Порог опасной температуры Max"));
    for (const QString& t :
        { QStringLiteral("7"), QStringLiteral("24:00:00"), QStringLiteral("12:60:00"), QStringLiteral("12:00") })
        QTest::addRow("time %s", qPrintable(t)) << text("Edit_time", t)
            << QStringLiteral("Запись не выполнена: время в поле «Телефоны / Время» должно иметь вид чч:мм:сс.");
    for (const QString& d : { QStringLiteral("30.02.24"), QStringLiteral("1.02.24"), QStringLiteral("01/02/24") })
        QTest::addRow("date %s", qPrintable(d)) << text("Edit_Date", d)
            << QStringLiteral("Запись не выполнена: в поле «Телефоны / Дата» должна быть дата вида дд.мм.гг.");
    const std::pair<const char*, const char*> lists[] = { { "CBox_INPUT", "Постановка/Снятие / Уровень" },
        { "RadioGroup1", "Постановка/Снятие / Выход состояния охраны" },
        { "CB_on_output_in", "Постановка/Снятие / При постановке на охрану включить" },
        { "CBox_IN1", "Вход 1 / Тип входа" }, { "CB_td1_out", "Термодатчик 1 / Применить для выхода" } };
    for (const auto& [list, label] : lists)
        QTest::addRow("%s without selection", list) << none(list)
            << QStringLiteral("Запись не выполнена: в списке «%1» ничего не выбрано.").arg(QString::fromUtf8(label));
    QTest::newRow("thresholds -1 and -2") << Setup([](ControlAccess& c) {
        c.setText(QStringLiteral("SE_min_td1"), QStringLiteral("-1"));
        c.setText(QStringLiteral("SE_max_td1"), QStringLiteral("-2"));
    }) << QStringLiteral("Запись не выполнена: значения полей «Термодатчик 1 / Порог опасной температуры Min», "
                         "«Термодатчик 1 / Порог опасной температуры Max» дают байты FF FE (конец пакета). Измените их.");
    QTest::newRow("message with FF FE")
        << text("Edit1", QStringLiteral("Моя тревога юю яю"))
        << QStringLiteral("Запись не выполнена: значения полей «Вход 1 / Сообщение» дают байты FF FE (конец пакета). "
                          "Измените их.");
}

void SettingsExchangeTest::refusedWriteSendsNothing()
{
    QFETCH(Setup, setup);
    QFETCH(QString, message);
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    Window w(pty.slavePath());
    QVERIFY(w.loaded);
    setup(w.controls());
    w.f.form().idleCloseTimer->start();
    w.f.form().shared.SessionState = ssIdle;
    QCOMPARE(w.write(), int(WriteOutcome::Refused));
    QCOMPARE(w.f.boxes.texts(), QStringList({ message }));
    // In English the fields are named in English too.
    w.f.form().shared.LanguageCode = QLatin1Char('E');
    QCOMPARE(w.write(), int(WriteOutcome::Refused));
    QVERIFY2(!w.f.boxes.texts().last().contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]"))),
        qPrintable(w.f.boxes.texts().last()));
    QVERIFY(pty.drainMaster(100).isEmpty());
    QVERIFY(!w.f.form().port->Connected());
    QCOMPARE(w.f.state(), int(ssIdle));
    QVERIFY(w.f.form().idleCloseTimer->isActive());
    QVERIFY(!w.f.form().responseTimer->isActive());
}

void SettingsExchangeTest::menuWriteClampsATypedOutOfRangeNumber()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    w.f.form().show();
    QVERIFY(QTest::qWaitForWindowActive(&w.f.form()));
    // Typed, and the box not left: the menu does not take the focus.
    SpinEdit* upper = w.f.form().panels->spinEdit(QStringLiteral("SE_max_td1"));
    upper->setFocus();
    auto *typing = upper->findChild<QLineEdit *>();
    typing->selectAll();
    QTest::keyClicks(typing, QStringLiteral("200"));
    QCOMPARE(upper->text(), QStringLiteral("200"));
    QCOMPARE(w.write(w.f.form().writeSettingsAction), int(WriteOutcome::Acknowledged));
    QCOMPARE(w.read(), int(ReadOutcome::Decoded));
    QCOMPARE(upper->text(), QStringLiteral("125"));
}

// The boxes of a read and a write against the simulator, in English.
void SettingsExchangeTest::englishWindowShowsEnglishBoxes_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("box");
    QTest::newRow("read") << QStringList() << true << QStringLiteral("Reading finished. All OK.");
    QTest::newRow("empty memory") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("Pt=") }) << true
                                  << QStringLiteral("Reading finished: the device's memory is empty.\r\n Restore the previous values");
    QTest::newRow("write") << QStringList() << false << QStringLiteral("Writing finished. All OK.");
    QTest::newRow("wrong reply") << QStringList({ QStringLiteral("--wrong"), QStringLiteral("write=text:OK") }) << false
                                 << QStringLiteral("The reply confirming the write is not correct.");
}

void SettingsExchangeTest::englishWindowShowsEnglishBoxes()
{
    QFETCH(QStringList, simArgs);
    QFETCH(bool, read);
    SimProcess sim(simArgs);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Window w(sim.devicePath());
    w.f.form().englishAction->trigger();
    QVERIFY((read ? w.read() : w.write()) >= 0);
    QFETCH(QString, box);
    QCOMPARE(w.f.boxes.texts(), QStringList { box });
}

// Thresholds of -1 and -2 degrees, set by another tool, put the stop marker
// into the thermostat record: the reply ends there. The read says so, prints
// the log's entries, writes no file and leaves the user's backup alone.
void SettingsExchangeTest::batchReadCutShortByAStopMarkerIsNoSuccess()
{
    QTemporaryDir work;
    FormatsWindow w;
    applyRichState(w.controls());
    w.controls().setText(QStringLiteral("SE_min_td1"), QStringLiteral("-1"));
    w.controls().setText(QStringLiteral("SE_max_td1"), QStringLiteral("-2"));
    SimProcess sim({ QStringLiteral("--state"), writeSimState(work.path(), imageLayout(w.controls()).image) });
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    const QString backup = work.filePath(QStringLiteral("save.000"));
    writeFileBytes(backup, "the user's window");
    const QString out = work.filePath(QStringLiteral("out.cfg"));
    const BatchRun r = runConfig({ QStringLiteral("read-settings"), QStringLiteral("--port"), sim.devicePath(),
        QStringLiteral("--output"), out, QStringLiteral("--workdir"), work.path() });
    QVERIFY2(r.exitCode == 1, qPrintable(r.out + r.err));
    QVERIFY2(r.out.endsWith(QStringLiteral(
                 "Процесс чтения завершился, но ответ прибора неполон: часть настроек не прочитана.\n"
                 "#23 - Ошибка формата передаваемых данных\nЗапись не закончена: конец пакета\n")),
        qPrintable(r.out));
    QVERIFY(!QFile::exists(out));
    QCOMPARE(readFileBytes(backup), QByteArray("the user's window"));
}

QTEST_MAIN(SettingsExchangeTest)
#include "test_settings_exchange.moc"
