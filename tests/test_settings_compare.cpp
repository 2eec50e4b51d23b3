// Comparing the window with the controller: every field of the image counted
// once, the wording of a difference, and the comparison against the
// simulator, from the window and from the batch command.

#include "batch_run.h"
#include "exchange_fixture.h"
#include "formats_fixture.h"
#include "sim_process.h"

#include "config_file/config_files.h"
#include "core/cp1251.h"
#include "settings/differences_dialog.h"
#include "settings/image_bytes.h"
#include "settings/settings_compare.h"
#include "settings/settings_write.h"
#include "settings/settings_read.h"
#include "settings/shadow_settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

// The rich state with every field carried: all four inputs active, both
// sensors enabled and keeping their temperature.
void applyFullState(ControlAccess &c)
{
    applyRichState(c);
    c.setChecked(QStringLiteral("CheckBox_in3"), true);
    c.setChecked(QStringLiteral("CheckBox_td2"), true);
    c.setText(QStringLiteral("SE_min_td2"), QStringLiteral("-5"));
    c.setChecked(QStringLiteral("CheckBox_td21"), true);
    c.setIndex(QStringLiteral("CB_td2_out"), 3);
}

// Another valid value of a field.
QByteArray otherValue(FieldKind kind, const QByteArray &v)
{
    auto pick = [&v](const char *a, const char *b) { return QByteArray(v == a ? b : a); };
    switch (kind) {
    case FieldKind::Flag: return pick("1", "0");
    case FieldKind::Text: return toCp1251(QStringLiteral("Другое"));
    case FieldKind::InputType: return pick("1", "3");
    case FieldKind::OutputTime: return v == QByteArray("\0\1", 2) ? QByteArray("\0\2", 2) : QByteArray("\0\1", 2);
    case FieldKind::Temperature: return QByteArray(1, temperatureByte(temperatureFromByte(v.at(0)) == 20 ? 21 : 20));
    case FieldKind::KeepingOutput: return pick("4", "1");
    case FieldKind::ArmingLevel: return pick("1", "2");
    case FieldKind::OutputAtArming: return pick("4", "0");
    case FieldKind::ArmingStateOutput: return pick("1", "2");
    case FieldKind::Phone: return "123";
    case FieldKind::Date: return "01.01.20";
    case FieldKind::Time: return "23:00:00";
    case FieldKind::Seconds: return QByteArray(1, char(byteValue(v.at(0)) == 10 ? 12 : 10));
    }
    return v;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int fieldIndex(const QString &place, const QString &caption)
{
    const auto &fields = imageFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].place == place && fields[i].caption == caption)
            return int(i);
    return -1;
}

using Edit = std::function<void(ControlAccess &)>;

// The lines a comparison of the full state, edited on the window's side,
// with the full state prints.
QStringList reportAfter(const Edit &edit)
{
    ShadowSettings window;
    ShadowSettings device;
    applyFullState(window.controls());
    applyFullState(device.controls());
    edit(window.controls());
    return differenceReport(compareImages(imageLayout(window.controls()).image, imageLayout(device.controls()).image),
                            [](const QString &t) { return t; });
}

// True when the field, or a field it depends on, is among the differences.
bool namesFieldOrGate(const Comparison &c, int field)
{
    for (int f = field; f >= 0; f = imageFields().at(size_t(f)).gate)
        for (const FieldDifference &d : c.differences)
            if (d.field == f)
                return true;
    return false;
}

const QStringList kSame{QStringLiteral("Различий нет"), QStringLiteral("все 75 полей совпадают")};

} // namespace

class CompareTest : public QObject {
    Q_OBJECT
private slots:
    void everyFieldChangedAloneIsOneDifference();
    void everyOneByteChangeAtAFieldIsADifference_data();
    void everyOneByteChangeAtAFieldIsADifference();
    void differencesAreWordedAsTheControllerStoresThem_data();
    void differencesAreWordedAsTheControllerStoresThem();
    void clockReadsTheYearAsAWriteDoes();
    void windowComparesWithSimulatorAndTouchesNothing_data();
    void windowComparesWithSimulatorAndTouchesNothing();
    void verifyAfterWriteChecksWhatTheControllerStored_data();
    void verifyAfterWriteChecksWhatTheControllerStored();
    void readStartedDuringTheCheckEndsItSilently();
    void compareRefusesWhatAWriteWouldRefuse_data();
    void compareRefusesWhatAWriteWouldRefuse();
    void verifyChoiceIsRememberedAndStartsOn();
    void batchCompareExitStatus_data();
    void batchCompareExitStatus();
    void batchCompareNowTakesTheClock();
};

void CompareTest::everyFieldChangedAloneIsOneDifference()
{
    FormatsWindow w;
    applyFullState(w.controls());
    const ImageLayout layout = imageLayout(w.controls());
    const auto &fields = imageFields();
    QCOMPARE(layout.spans.size(), qsizetype(fields.size()));
    QVERIFY(compareImages(layout.image, layout.image).differences.isEmpty());
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldSpan s = layout.spans[qsizetype(i)];
        QByteArray image = layout.image;
        image.replace(s.pos, s.length, otherValue(fields[i].kind, image.mid(s.pos, s.length)));
        const auto diffs = compareImages(layout.image, image).differences;
        QVERIFY2(diffs.size() == 1 && diffs.first().field == int(i),
                 qPrintable(fieldLabel(int(i)) + QStringLiteral(": %1 rows").arg(diffs.size())));
    }
}

// Every byte a field of a written image carries, stored as another byte
// (the digits 0 to 5 and 9, "X", 00, FF), is a difference of that field or
// of the box it depends on; only the clock may move within its tolerance.
void CompareTest::everyOneByteChangeAtAFieldIsADifference_data()
{
    QTest::addColumn<Edit>("state");
    QTest::newRow("all inputs and sensors on") << Edit(applyFullState);
    QTest::newRow("input 3 off, sensor 2 off") << Edit(applyRichState);
    QTest::newRow("keeping off") << Edit([](ControlAccess &c) {
        applyFullState(c);
        c.setChecked(QStringLiteral("CheckBox_td11"), false);
        c.setChecked(QStringLiteral("CheckBox_21"), false);
    });
}

void CompareTest::everyOneByteChangeAtAFieldIsADifference()
{
    QFETCH(Edit, state);
    FormatsWindow w;
    state(w.controls());
    const ImageLayout layout = imageLayout(w.controls());
    const QByteArray stored = QByteArray("0123459X") + '\0' + '\xFF';
    int tried = 0, caught = 0, clockMoved = 0;
    for (int field = 0; field < layout.spans.size(); ++field) {
        const FieldSpan s = layout.spans.at(field);
        for (qsizetype pos = s.pos; pos < s.pos + s.length; ++pos) {
            for (char b : stored) {
                if (layout.image.at(pos) == b)
                    continue;
                QByteArray image = layout.image;
                image[pos] = b;
                ++tried;
                const Comparison c = compareImages(layout.image, image);
                if (c.differences.isEmpty() && c.clockTolerated
                    && imageFields().at(size_t(field)).kind == FieldKind::Time) {
                    ++clockMoved;
                    continue;
                }
                QVERIFY2(namesFieldOrGate(c, field),
                         qPrintable(QStringLiteral("%1 byte %2 stored as %3 passed")
                                        .arg(fieldLabel(field))
                                        .arg(pos)
                                        .arg(QString::fromLatin1(QByteArray(1, b).toHex()))));
                ++caught;
            }
        }
    }
    QCOMPARE(caught + clockMoved, tried);
    qInfo("%d of %d one-byte changes at field positions are differences; %d move the clock within %d s", caught,
          tried, clockMoved, kClockTolerance);
}

void CompareTest::differencesAreWordedAsTheControllerStoresThem_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("report");
    auto set = [](const char *name, const QString &text) {
        return Edit([=](ControlAccess &c) { c.setText(QLatin1String(name), text); });
    };
    auto tick = [](const char *name, bool on) {
        return Edit([=](ControlAccess &c) { c.setChecked(QLatin1String(name), on); });
    };
    QTest::newRow("nothing") << Edit([](ControlAccess &) {}) << kSame;
    QTest::newRow("message beyond 25 characters")
        << set("Edit1", QStringLiteral("Дверь") + QString(25, QLatin1Char('.')))
        << QStringList{QStringLiteral("Вход 1 / Сообщение: окно «Дверь....................», прибор «Дверь»"),
                       QStringLiteral("Различий: 1")};
    QTest::newRow("input switched off: its own row only")
        << tick("CheckBox_in2", false)
        << QStringList{QStringLiteral("Вход 2 / Активировать: окно «нет», прибор «да»"), QStringLiteral("Различий: 1")};
    QTest::newRow("output times")
        << Edit([](ControlAccess &c) {
               c.setChecked(QStringLiteral("CheckBox11S"), false);
               c.setText(QStringLiteral("Edit_OUT1Sm"), QStringLiteral("3"));
               c.setChecked(QStringLiteral("RG_OUT11"), false);
           })
        << QStringList{QStringLiteral("Вход 1 / Реле 2: окно «не задействован», прибор «2 мин 30 сек»"),
                       QStringLiteral("Вход 1 / Выход 1(Сирена): окно «3 мин 1 сек», прибор «Вкл. всегда»"),
                       QStringLiteral("Различий: 2")};
    QTest::newRow("keeping off hides the keeping temperatures")
        << Edit([](ControlAccess &c) {
               c.setChecked(QStringLiteral("CheckBox_td11"), false);
               c.setText(QStringLiteral("SE_Min_td11"), QStringLiteral("5"));
           })
        << QStringList{QStringLiteral("Термодатчик 1 / Поддержание температуры: окно «нет», прибор «да»"),
                       QStringLiteral("Различий: 1")};
    QTest::newRow("clock a minute on")
        << set("Edit_time", QStringLiteral("9:06:07"))
        << QStringList{QStringLiteral("Различий нет"), QStringLiteral("все 75 полей совпадают, часы прибора — в пределах 120 с")};
    QTest::newRow("clock a day on")
        << set("Edit_Date", QStringLiteral("25.12.25"))
        << QStringList{QStringLiteral("Телефоны / Дата: окно «25.12.25», прибор «24.12.25»"), QStringLiteral("Различий: 1")};
    QTest::newRow("lists and delays")
        << Edit([](ControlAccess &c) {
               c.setIndex(QStringLiteral("CBox_IN2"), 2);
               c.setText(QStringLiteral("SE_out"), QStringLiteral("8"));
           })
        << QStringList{QStringLiteral("Вход 2 / Тип входа: окно «Нормально замкнутый НЗ», прибор «Нормально разомкнутый НРЗ»"),
                       QStringLiteral("Постановка/Снятие / Время задержки: снятие: окно «8», прибор «250»"),
                       QStringLiteral("Различий: 2")};
}

// "29.02.00" is a leap day of 2000, as a write reads the year: a minute
// before "01.03.00 00:00:30", within the clock's tolerance.
void CompareTest::clockReadsTheYearAsAWriteDoes()
{
    FormatsWindow w;
    applyFullState(w.controls());
    FieldValues window = encodedFields(w.controls());
    FieldValues device = window;
    window[fieldIndex(u"date")] = QByteArray("29.02.00");
    window[fieldIndex(u"time")] = QByteArray("23:59:30");
    device[fieldIndex(u"date")] = QByteArray("01.03.00");
    device[fieldIndex(u"time")] = QByteArray("00:00:30");
    const Comparison c = compareFields(window, device);
    QVERIFY(c.differences.isEmpty());
    QVERIFY(c.clockTolerated);
}

void CompareTest::differencesAreWordedAsTheControllerStoresThem()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, report);
    QCOMPARE(reportAfter(edit), report);
}

void CompareTest::windowComparesWithSimulatorAndTouchesNothing_data()
{
    QTest::addColumn<QChar>("language");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("rows"); // place, caption, window, device per row
    QTest::addColumn<QString>("heading");
    QTest::newRow("same") << QChar(u'R') << Edit([](ControlAccess &) {}) << QStringList() << kSame.join(u'\n');
    const Edit three = [](ControlAccess &c) {
        c.setText(QStringLiteral("Edit1"), QStringLiteral("Окно"));
        c.setText(QStringLiteral("ME_tel2"), QStringLiteral("+79160000000"));
        c.setChecked(QStringLiteral("CheckBox_Audio"), false);
    };
    QTest::newRow("message, phone, option")
        << QChar(u'R') << three
        << QStringList{QStringLiteral("Вход 1"), QStringLiteral("Сообщение"), QStringLiteral("Окно"), QStringLiteral("Дверь"),
                       QStringLiteral("Телефоны"), QStringLiteral("Номер 2"), QStringLiteral("+79160000000"),
                       QStringLiteral("+12345678901234"),
                       QStringLiteral("Постановка/Снятие"), QStringLiteral("Звуковой сигнал при постановке/снятии"),
                       QStringLiteral("нет"), QStringLiteral("да")}
        << QStringLiteral("Различий: 3");
    QTest::newRow("in English")
        << QChar(u'E') << three
        << QStringList{QStringLiteral("Input 1"), QStringLiteral("Message"), QStringLiteral("Окно"), QStringLiteral("Дверь"),
                       QStringLiteral("Phones"), QStringLiteral("Number 2"), QStringLiteral("+79160000000"),
                       QStringLiteral("+12345678901234"),
                       QStringLiteral("Arming/Disarming"), QStringLiteral("Beep on arming/disarming"),
                       QStringLiteral("no"), QStringLiteral("yes")}
        << QStringLiteral("Differences: 3");
}

void CompareTest::windowComparesWithSimulatorAndTouchesNothing()
{
    QFETCH(QChar, language);
    QFETCH(Edit, edit);
    QFETCH(QStringList, rows);
    QFETCH(QString, heading);

    QTemporaryDir simDir;
    ExchangeFixture f;
    ControlAccess window(*f.form().panels);
    applyRichState(window);
    const QString state = writeSimState(simDir.path(), imageLayout(window).image);
    SimProcess sim({QStringLiteral("--state"), state});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    f.form().shared.ConnectedPort = sim.devicePath();
    f.form().shared.LanguageCode = language;
    edit(window);
    const QByteArray before = imageLayout(window).image;
    const QByteArray stateBefore = fileBytes(state);

    QSignalSpy finished(f.form().settingsCompare, &SettingsCompare::finished);
    f.form().compareAction->trigger();
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().value<CompareOutcome>(),
             rows.isEmpty() ? CompareOutcome::Same : CompareOutcome::Different);

    auto *dialog = f.form().findChild<DifferencesDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->heading->text(), heading);
    QStringList shown;
    for (int r = 0; r < dialog->table->rowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            shown << dialog->table->item(r, c)->text();
    QCOMPARE(shown, rows);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Button_copy")), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), dialog->reportText());
    QVERIFY(dialog->reportText().endsWith(heading + QLatin1Char('\n')));

    // The window, the backup and the controller are as they were.
    QCOMPARE(imageLayout(window).image, before);
    QVERIFY(!QFile::exists(f.form().shared.programFile(QStringLiteral("save.000"))));
    QCOMPARE(fileBytes(state), stateBefore);
    QCOMPARE(f.boxes.texts(), QStringList());
    QTRY_VERIFY(!f.form().port->Connected());
}

void CompareTest::verifyAfterWriteChecksWhatTheControllerStored_data()
{
    QTest::addColumn<bool>("storedChanged");
    QTest::newRow("stored as written") << false;
    QTest::newRow("one field stored changed") << true;
}

void CompareTest::verifyAfterWriteChecksWhatTheControllerStored()
{
    QFETCH(bool, storedChanged);
    ExchangeFixture f;
    ControlAccess window(*f.form().panels);
    applyRichState(window);
    const int field = fieldIndex(QStringLiteral("Вход 1"), QStringLiteral("Контроль 24 часа"));
    const QString changed = QStringLiteral("%1=31").arg(imageLayout(window).spans.at(field).pos);
    SimProcess sim(storedChanged ? QStringList{QStringLiteral("--store-changed"), changed} : QStringList());
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    f.form().shared.ConnectedPort = sim.devicePath();
    f.form().verifyAfterWriteAction->setChecked(true);
    f.form().previewAction->setChecked(false);

    QSignalSpy finished(f.form().settingsCompare, &SettingsCompare::finished);
    f.form().writeSettingsAction->trigger();
    QTRY_COMPARE(finished.count(), 1);
    auto *dialog = f.form().findChild<DifferencesDialog *>();
    if (!storedChanged) {
        QCOMPARE(finished.first().first().value<CompareOutcome>(), CompareOutcome::Same);
        QVERIFY(!dialog);
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Процесс записи завершился. Все OK. Настройки проверены: "
                                                            "различий нет.\nвсе 75 полей совпадают")});
        return;
    }
    QCOMPARE(finished.first().first().value<CompareOutcome>(), CompareOutcome::Different);
    QCOMPARE(f.boxes.texts(), QStringList());
    QVERIFY(dialog);
    QCOMPARE(dialog->reportText(),
             QStringLiteral("Проверка после записи не пройдена: прибор хранит не то, что записано. Различий: 1\n"
                            "Вход 1 / Контроль 24 часа: окно «нет», прибор «да»\n"
                            "Различий: 1\n"));
}

// A read started while the check after a write waits for its reply takes
// the check's place: the check ends without a word, and the read's own
// time-out says nothing of a check.
void CompareTest::readStartedDuringTheCheckEndsItSilently()
{
    ExchangeFixture f;
    ControlAccess window(*f.form().panels);
    applyRichState(window);
    SimProcess sim({QStringLiteral("--silent"), QStringLiteral("Pt")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    f.form().shared.ConnectedPort = sim.devicePath();
    f.form().verifyAfterWriteAction->setChecked(true);
    QSignalSpy finished(f.form().settingsCompare, &SettingsCompare::finished);
    QSignalSpy readFinished(f.form().settingsRead, &SettingsRead::readFinished);
    f.form().settingsWrite->writeSettings();
    QTRY_COMPARE(f.state(), int(ssReadSettings));
    f.form().readSettingsAction->trigger();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().value<CompareOutcome>(), CompareOutcome::Replaced);
    QTRY_COMPARE(readFinished.count(), 1);
    QCOMPARE(readFinished.first().first().value<ReadOutcome>(), ReadOutcome::TimedOut);
    QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Превышен период ожидания ответа устройства.")});
    QCOMPARE(finished.count(), 1);
}

void CompareTest::compareRefusesWhatAWriteWouldRefuse_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("box");
    QTest::newRow("time") << Edit([](ControlAccess &c) {
        c.setText(QStringLiteral("Edit1"), QStringLiteral("Дверь"));
        c.setChecked(QStringLiteral("CheckBox4"), false);
        c.setText(QStringLiteral("Edit_time"), QStringLiteral("25:00:00"));
    }) << QStringLiteral("Запись не выполнена: время в поле «Телефоны / Время» должно иметь вид чч:мм:сс.");
    QTest::newRow("active input without text")
        << Edit([](ControlAccess &c) { c.setText(QStringLiteral("Edit1"), QString()); })
        << QStringLiteral("Не введен текст сообщений на входе:1,. Нажмите OK.");
}

void CompareTest::compareRefusesWhatAWriteWouldRefuse()
{
    QFETCH(Edit, edit);
    QFETCH(QString, box);
    ExchangeFixture f;
    f.form().shared.ConnectedPort = f.dir.filePath(QStringLiteral("no-such-port"));
    ControlAccess window(*f.form().panels);
    edit(window);
    QSignalSpy finished(f.form().settingsCompare, &SettingsCompare::finished);
    f.form().compareAction->trigger();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().value<CompareOutcome>(), CompareOutcome::Refused);
    QCOMPARE(f.boxes.texts(), QStringList{box});
    QCOMPARE(f.state(), int(ssClosed));
}

void CompareTest::verifyChoiceIsRememberedAndStartsOn()
{
    QTemporaryDir home;
    AppOptions options;
    options.includeSystemPorts = false;
    options.workDir = home.path();
    // The user's choices, kept in test settings that start empty.
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zarven4"), QStringLiteral("zarven4-config"))
        .clear();
    options.userSession = true;
    ScriptedMessageBoxes boxes;
    for (bool tick : {false, true}) {
        MainWindow form(options, boxes);
        QCOMPARE(form.verifiesAfterWrite(), !tick);
        QVERIFY(form.verifyAfterWriteAction->isCheckable());
        form.verifyAfterWriteAction->trigger();
        QCOMPARE(form.verifiesAfterWrite(), tick);
    }
    MainWindow third(options, boxes);
    QVERIFY(third.verifiesAfterWrite());
}

void CompareTest::batchCompareExitStatus_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLines");
    const QString compare = QStringLiteral("compare");
    QTest::newRow("same") << compare << QStringList() << false << 0 << kSame.join(u'\n');
    QTest::newRow("different") << compare << QStringList() << true << 3
                               << QStringLiteral("Термодатчик 1 / Эконом: окно «19», прибор «18»\nРазличий: 1");
    QTest::newRow("no reply") << compare << QStringList({QStringLiteral("--silent"), QStringLiteral("Pt")}) << false << 1
                              << QStringLiteral("Превышен период ожидания ответа устройства.");
    QTest::newRow("empty memory") << compare << QStringList({QStringLiteral("--wrong"), QStringLiteral("Pt=text:")}) << false << 1
                                  << QStringLiteral("Память прибора чиста: сравнивать не с чем.");
    const QString verify = QStringLiteral("write-settings");
    QTest::newRow("write verified") << verify << QStringList() << false << 0
                                    << QStringLiteral("Процесс записи завершился. Все OK. Настройки проверены: "
                                                      "различий нет.\nвсе 75 полей совпадают");
    // The 24-hour flag of input 1 of the rich state.
    QTest::newRow("write stored changed") << verify << QStringList{QStringLiteral("--store-changed"), QStringLiteral("9=31")}
                                          << false << 3
                                          << QStringLiteral("Вход 1 / Контроль 24 часа: окно «нет», прибор «да»\nРазличий: 1");
    // Input 1's type byte stored as "7", which a read would turn into no
    // selection and a log entry.
    QTest::newRow("write stored a type byte without meaning")
        << verify << QStringList{QStringLiteral("--store-changed"), QStringLiteral("7=37")} << false << 3
        << QStringLiteral("Вход 1 / Тип входа: окно «Нормально замкнутый НЗ», прибор «37 hex»\nРазличий: 1");
}

// compare --now compares with the clock, as write-settings --now writes it;
// the controller's raw bytes are compared, an arming level "9" included.
void CompareTest::batchCompareNowTakesTheClock()
{
    QTemporaryDir work;
    FormatsWindow w;
    applyRichState(w.controls());
    const QString cfg = work.filePath(QStringLiteral("site.cfg"));
    w.form().configFiles->writeFile(cfg);
    const QDateTime now = QDateTime::currentDateTime();
    w.controls().setText(QStringLiteral("Edit_Date"), now.toString(QStringLiteral("dd.MM.yy")));
    w.controls().setText(QStringLiteral("Edit_time"), now.toString(QStringLiteral("HH:mm:ss")));
    QByteArray image = imageLayout(w.controls()).image;
    auto run = [&](const QStringList &extra) {
        SimProcess sim({QStringLiteral("--state"), writeSimState(work.path(), image)});
        return runConfig(QStringList{QStringLiteral("compare"), QStringLiteral("--port"), sim.devicePath(),
                                     QStringLiteral("--input"), cfg, QStringLiteral("--workdir"), work.path()}
                         + extra);
    };
    BatchRun r = run({});
    QVERIFY2(r.exitCode == 3 && r.out.contains(QStringLiteral("Телефоны / Дата: окно «24.12.25»")), qPrintable(r.out));
    r = run({QStringLiteral("--now")});
    QVERIFY2(r.exitCode == 0 && r.out.contains(QStringLiteral("\nРазличий нет\nвсе 75 полей совпадают")),
             qPrintable(r.out + r.err));

    image[imageLayout(w.controls()).spans.at(fieldIndex(u"arming.level")).pos] = '9';
    r = run({QStringLiteral("--now")});
    QVERIFY2(r.exitCode == 3
                 && r.out.endsWith(QStringLiteral("Постановка/Снятие / Уровень: окно «Низкий», прибор «39 hex»\nРазличий: 1\n")),
             qPrintable(r.out));
}

void CompareTest::batchCompareExitStatus()
{
    QFETCH(QString, command);
    QFETCH(QStringList, simArgs);
    QFETCH(bool, edited);
    QFETCH(int, exitCode);
    QFETCH(QString, lastLines);

    QTemporaryDir work;
    FormatsWindow w;
    applyRichState(w.controls());
    const QString state = writeSimState(work.path(), imageLayout(w.controls()).image);
    if (edited)
        w.controls().setText(QStringLiteral("SE_Min_td11"), QStringLiteral("19"));
    const QString cfg = work.filePath(QStringLiteral("site.cfg"));
    w.form().configFiles->writeFile(cfg);

    SimProcess sim(simArgs + QStringList{QStringLiteral("--state"), state});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QStringList args{command, QStringLiteral("--port"), sim.devicePath(), QStringLiteral("--input"), cfg,
                     QStringLiteral("--workdir"), work.path()};
    if (command != QLatin1String("compare"))
        args << QStringLiteral("--verify");
    const BatchRun r = runConfig(args);
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.out + r.err));
    QVERIFY2(r.out.endsWith(lastLines + QLatin1Char('\n')), qPrintable(r.out));
    if (edited || !simArgs.isEmpty() || command != QLatin1String("compare"))
        return;
    const BatchRun missing = runConfig({QStringLiteral("compare"), QStringLiteral("--port"), sim.devicePath(),
                                        QStringLiteral("--input"), work.filePath(QStringLiteral("none.cfg")),
                                        QStringLiteral("--workdir"), work.path()});
    QCOMPARE(missing.exitCode, 2);
}

QTEST_MAIN(CompareTest)
#include "test_settings_compare.moc"
