// The key programming mode of the window against the simulated controller
// over a pseudo-terminal: opening and leaving, reading a key, writing the
// table and reading it back, wrong and missing replies, codes and tables
// holding the stop marker, refused rows, key files through the panel.

#include "config_file/file_dialogs.h"
#include "controller_state.h"
#include "core/cp1251.h"
#include "core/strings.h"
#include "default_state.h"
#include "exchange_fixture.h"
#include "file_bytes.h"
#include "keys/key_programming.h"
#include "sim_process.h"

#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

TimerIntervals keyIntervals()
{
    TimerIntervals iv = fastIntervals();
    iv.keyWriteWaitMs = 20;
    iv.keyStreamWaitMs = 5;
    return iv;
}

QByteArray tableWith(const QList<QPair<QByteArray, QByteArray>> &keys)
{
    QByteArray table;
    for (int k = 0; k < kKeyRowCount; ++k)
        table += k < keys.size() ? sim::keyRecord(keys[k].first, keys[k].second) : QByteArray(25, '\0');
    return table;
}

// A simulator holding the given key table, and a window connected to it.
struct Line {
    explicit Line(const QByteArray &table, QStringList options = {}, const TimerIntervals &iv = keyIntervals())
    {
        statePath = dir.filePath(QStringLiteral("sim.state"));
        sim::ControllerState state = sim::ControllerState::defaults(QDateTime::currentDateTime());
        state.keyTable = table;
        state.save(statePath);
        options << QStringLiteral("--state") << statePath;
        simulator = std::make_unique<SimProcess>(options);
        f = std::make_unique<ExchangeFixture>(QStringList{simulator->devicePath()}, iv);
        f->form().shared.ConnectedPort = simulator->devicePath();
        QObject::connect(keys(), &KeyProgramming::writeFinished, [this](KeyWriteOutcome o) { outcomes << o; });
    }
    KeyProgramming *keys() { return f->form().keys; }
    KeyPanel &panel() { return *f->form().keyPanel; }
    QString cell(int row, int column) { return panel().keyGrid->item(row, column)->text(); }
    QByteArray storedTable() { return sim::ControllerState::load(statePath, QDateTime()).keyTable; }
    bool open()
    {
        QTest::mouseClick(f->form().keyProgrammingButton, Qt::LeftButton);
        return QTest::qWaitFor([this] { return keys()->tableWhole(); }, 8000);
    }
    bool write()
    {
        const qsizetype before = outcomes.size();
        QTest::mouseClick(panel().writeKeysButton, Qt::LeftButton);
        return QTest::qWaitFor([&] { return outcomes.size() > before; }, 5000);
    }

    QTemporaryDir dir;
    QString statePath;
    std::unique_ptr<SimProcess> simulator;
    std::unique_ptr<ExchangeFixture> f;
    QList<KeyWriteOutcome> outcomes;
};

class FixedDialogs : public FileDialogs {
public:
    explicit FixedDialogs(QString name) : name_(std::move(name)) {}
    QString saveFileName() override { return name_; }
    QString openFileName() override { return name_; }

private:
    QString name_;
};

} // namespace

class KeyModeTest : public QObject {
    Q_OBJECT
private slots:
    void openReadKeyAndLeave();
    void writeThenReadBack();
    void wrongAndMissingReplies_data();
    void wrongAndMissingReplies();
    void codesHoldingTheStopMarkerArriveWhole_data();
    void codesHoldingTheStopMarkerArriveWhole();
    void refusedRowSendsNothing_data();
    void refusedRowSendsNothing();
    void noTableTellsTheUser_data();
    void noTableTellsTheUser();
    void shortRepliesFollowedByLineEndsEnd_data();
    void shortRepliesFollowedByLineEndsEnd();
    void buttonReplacingTheTableWaitEndsIt_data();
    void buttonReplacingTheTableWaitEndsIt();
    void otherExchangeReplacingTheWriteGivesCancelBack();
    void keyFilesThroughThePanel();
    void cellEditorTakesLettersAndDigitsUpToItsPositions();
    void englishHeadersAndBoxes();
};

void KeyModeTest::openReadKeyAndLeave()
{
    Line l(tableWith({{"Master", QByteArray::fromHex("0102030405060708")}, {"Office", "\x11"}}));
    QVERIFY2(l.simulator->isRunning(), qPrintable(l.simulator->errorText()));
    MainWindow &w = l.f->form();
    l.panel().keyGrid->item(10, 1)->setText(QStringLiteral("kept?"));
    QVERIFY(l.open());
    QVERIFY(!w.keyFrame->isHidden() && w.keyFrame->isEnabled());
    QCOMPARE(l.cell(0, 0) + l.cell(0, 1) + l.cell(0, 2), QStringLiteral("№ клОписаниеКодКлюча"));
    QCOMPARE(l.cell(10, 0), QStringLiteral("10"));
    QCOMPARE(l.cell(1, 1), QStringLiteral("Master"));
    QCOMPARE(l.cell(1, 2), QStringLiteral("0102030405060708"));
    QCOMPARE(l.cell(2, 2), QStringLiteral("1100000000000000"));
    QCOMPARE(l.cell(10, 1), QString());
    for (const char *name : {"Panel_in1", "Panel_in2", "Panel_td1", "Panel4", "Panel5", "Panel6"})
        QVERIFY2(!w.findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
    for (const char *name : {"Panel_in3", "Panel_in4", "Panel_td2"})
        QVERIFY2(w.findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);

    QTest::mouseClick(l.panel().readKeyButtons[9], Qt::LeftButton);
    QVERIFY(!w.keyPrompt->isHidden());
    QVERIFY(!w.keyFrame->isEnabled());
    QTRY_COMPARE(l.cell(10, 2), BytesToHex(sim::defaultKeyCode()));
    QVERIFY(w.keyPrompt->isHidden());
    QVERIFY(w.keyFrame->isEnabled());
    QCOMPARE(l.cell(1, 2), QStringLiteral("0102030405060708"));
    QCOMPARE(l.f->state(), int(ssIdle));

    QTest::mouseClick(l.panel().closeKeysButton, Qt::LeftButton);
    QVERIFY(w.keyFrame->isHidden());
    QVERIFY(w.findChild<QWidget *>(QStringLiteral("Panel_in1"))->isEnabled() && w.bottomBar->isEnabled());
    QVERIFY(l.f->boxes.texts().isEmpty());
}

void KeyModeTest::writeThenReadBack()
{
    Line l(tableWith({{"Master", "\x01"}}));
    QVERIFY(l.open());
    KeyRows rows;
    rows[0] = {QStringLiteral("Дверь"), QStringLiteral("0123456789ABCDEF")};
    rows[4] = {QStringLiteral("  Гараж"), QStringLiteral("0A0B0C")};
    rows[9] = {QStringLiteral("Ключ номер десять!!"), QStringLiteral("FFFFFFFFFFFFFFFF")};
    l.panel().setRows(rows);
    // From "Сохранить " until the write ends the panel starts no exchange:
    // a key read in the pause would take the line over.
    QTest::mouseClick(l.panel().writeKeysButton, Qt::LeftButton);
    for (QPushButton *b : {l.panel().readKeyButtons[1], l.panel().writeKeysButton, l.panel().closeKeysButton})
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(l.panel().readKeyButtons[1], Qt::LeftButton);
    QVERIFY(l.f->form().keyPrompt->isHidden());
    QTRY_VERIFY(!l.outcomes.isEmpty());
    QCOMPARE(l.outcomes, QList<KeyWriteOutcome>{KeyWriteOutcome::Confirmed});
    QVERIFY(l.panel().readKeyButtons[1]->isEnabledTo(l.f->form().keyFrame));
    QCOMPARE(l.f->boxes.texts(), QStringList{QStringLiteral("Процесс записи ключей завершился. Все OK.")});
    QVERIFY(l.f->form().keyFrame->isHidden());
    QVERIFY(l.panel().closeKeysButton->isEnabledTo(l.f->form().keyFrame));
    QCOMPARE(l.storedTable(), keyTableRecords(rows));

    l.panel().setRows(KeyRows{});
    QVERIFY(l.open());
    QCOMPARE(l.cell(1, 1), QStringLiteral("Дверь"));
    QCOMPARE(l.cell(5, 1), QStringLiteral("Гараж"));
    QCOMPARE(l.cell(5, 2), QStringLiteral("0A0B0C0000000000"));
    QCOMPARE(l.cell(10, 1), QStringLiteral("Ключ номер десят"));
}

void KeyModeTest::wrongAndMissingReplies_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("modeOpen");

    QTest::newRow("wrong ready reply") << QStringList{"--wrong", "Wr=text:ok"} << int(KeyWriteOutcome::WrongReady)
                                       << QStringList{"Ответ о готовности к сохранению ключей некорректен."} << true;
    QTest::newRow("wrong final reply") << QStringList{"--wrong", "table=text:OK"} << int(KeyWriteOutcome::WrongFinal)
                                       << QStringList{"Ответ об успешной записи ключей не корректен."} << true;
    QTest::newRow("no ready reply") << QStringList{"--silent", "Wr"} << int(KeyWriteOutcome::TimedOut)
                                    << QStringList{"НЕТ ответа о готовности к чтению ключей"} << true;
    QTest::newRow("no final reply") << QStringList{"--silent", "table"} << int(KeyWriteOutcome::TimedOut)
                                    << QStringList{} << true;
}

void KeyModeTest::wrongAndMissingReplies()
{
    QFETCH(QStringList, simOptions);
    const QByteArray table = tableWith({{"Master", "\x01"}});
    Line l(table, simOptions);
    QVERIFY(l.open());
    l.panel().keyGrid->item(1, 1)->setText(QStringLiteral("Changed"));
    QVERIFY(l.write());
    QCOMPARE(l.outcomes.size(), 1);
    QTEST(int(l.outcomes.first()), "outcome");
    QTEST(l.f->boxes.texts(), "boxes");
    QTEST(!l.f->form().keyFrame->isHidden(), "modeOpen");
    QCOMPARE(l.cell(1, 1), QStringLiteral("Changed"));
    // "Отменить" is usable again, and the exchange has ended.
    QVERIFY(l.panel().closeKeysButton->isEnabled());
    QTRY_VERIFY(l.f->state() == ssIdle || l.f->state() == ssClosed);
    QCOMPARE(l.storedTable(), table);
}

void KeyModeTest::codesHoldingTheStopMarkerArriveWhole_data()
{
    QTest::addColumn<QStringList>("delivery");
    QTest::newRow("whole") << QStringList{};
    QTest::newRow("in pieces of 3 bytes") << QStringList{"--chunk", "3", "--chunk-gap", "2"};
}

void KeyModeTest::codesHoldingTheStopMarkerArriveWhole()
{
    QFETCH(QStringList, delivery);
    const QByteArray code = QByteArray::fromHex("01FFFE04FFFE07FF");
    // Its second stop marker is followed by a start marker: still content.
    const QString keyCode = QStringLiteral("FFFE01FFFEFEFF04");
    const QByteArray table = tableWith({{toCp1251(QStringLiteral("Каяюта")), code}, {"Next", QByteArray(7, '\0') + '\xFF'}, {"\xFE", "\x02"}});
    // Time enough for a reply in 85 pieces on a busy machine.
    TimerIntervals iv = keyIntervals();
    iv.responseTimeoutMs = 5000;
    Line l(table, delivery + QStringList{"--key-code", keyCode}, iv);
    QVERIFY(l.open());
    QCOMPARE(l.cell(1, 1), QStringLiteral("Каяюта"));
    QCOMPARE(l.cell(1, 2), QStringLiteral("01FFFE04FFFE07FF"));
    QCOMPARE(l.cell(3, 1), fromCp1251("\xFE"));
    QTest::mouseClick(l.panel().readKeyButtons[1], Qt::LeftButton);
    QTRY_COMPARE(l.cell(2, 2), keyCode);
    // A short reply still ends after the quiet gap, and two replies in a
    // row are two.
    QCOMPARE(l.f->form().framer.pendingBuffer(), QByteArray());
}

void KeyModeTest::refusedRowSendsNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("lower case") << 3 << "01ab" << "Код Ключа №3 содержит недопустимые символы";
    QTest::newRow("row 10") << 10 << "0G" << "Код Ключа №10 содержит недопустимые символы";
    QTest::newRow("stop marker") << 7 << "00FFFE"
                                 << "Ключ №7: описание или код содержат байты FF FE (конец пакета), прибор обрезал бы "
                                    "таблицу. Измените описание или код.";
}

void KeyModeTest::refusedRowSendsNothing()
{
    QFETCH(int, row);
    QFETCH(QString, code);
    QFETCH(QString, message);
    const QByteArray table = tableWith({{"Master", "\x01"}});
    Line l(table);
    QVERIFY(l.open());
    QTRY_COMPARE(l.f->state(), int(ssClosed));
    l.panel().keyGrid->item(row, 1)->setText(QStringLiteral("Door"));
    l.panel().keyGrid->item(row, 2)->setText(code);
    QVERIFY(l.write());
    QCOMPARE(l.outcomes, QList<KeyWriteOutcome>{KeyWriteOutcome::Refused});
    QCOMPARE(l.f->boxes.texts(), QStringList{message});
    // Nothing was sent: the port was never opened again.
    QCOMPARE(l.f->state(), int(ssClosed));
    QVERIFY(!l.f->form().port->Connected());
    QVERIFY(l.panel().closeKeysButton->isEnabled());
    QCOMPARE(l.storedTable(), table);
}

void KeyModeTest::noTableTellsTheUser_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::newRow("no reply") << QStringList{"--silent", "Cn"};
    // Each packet is parsed from row 1: keys 6 to 10 would land in rows 1 to 5.
    QTest::newRow("two packets") << QStringList{"--cn-packets", "2"};
    QTest::newRow("two packets, a byte in front of each") << QStringList{"--cn-packets", "2", "--junk", "00"};
    QTest::newRow("two packets, CR LF in front of each") << QStringList{"--cn-packets", "2", "--junk", "0D0A"};
}

void KeyModeTest::noTableTellsTheUser()
{
    QFETCH(QStringList, simOptions);
    Line l(tableWith({}), simOptions);
    l.panel().keyGrid->item(4, 1)->setText(QStringLiteral("stale"));
    QTest::mouseClick(l.f->form().keyProgrammingButton, Qt::LeftButton);
    QTRY_COMPARE(l.f->boxes.texts().size(), 1);
    QCOMPARE(l.f->boxes.texts().first(), QStringLiteral("Таблица ключей не получена от прибора. Таблица на экране не "
                                                        "показывает ключи прибора; при записи она заменит все десять "
                                                        "ключей прибора."));
    QVERIFY(!l.keys()->tableWhole());
    QCOMPARE(l.f->state(), int(ssIdle));
}

void KeyModeTest::shortRepliesFollowedByLineEndsEnd_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<int>("readKeyRow"); // 0: the table's own reply
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    const QByteArray thirtyBytes = QByteArray(17, 'A') + QByteArray::fromHex("0102030405060708") + QByteArray(5, 'B');
    QTest::newRow("30-byte table") << QStringList{"--wrong-raw", "Cn=FEFF" + thirtyBytes.toHex() + "FFFE0D0A"} << 0 << 1
                                   << 2 << "0102030405060708";
    QTest::newRow("3-byte key code") << QStringList{"--wrong-raw", "Kr=FEFF010203FFFE0D0A"} << 3 << 3 << 2 << "010203";
}

// After the quiet gap a reply ends at its last stop marker; bytes after it
// are outside any packet.
void KeyModeTest::shortRepliesFollowedByLineEndsEnd()
{
    QFETCH(QStringList, simOptions);
    QFETCH(int, readKeyRow);
    QFETCH(int, row);
    QFETCH(int, column);
    Line l(tableWith({}), simOptions);
    if (readKeyRow > 0) {
        QVERIFY(l.open());
        QTest::mouseClick(l.panel().readKeyButtons[readKeyRow - 1], Qt::LeftButton);
    } else {
        QTest::mouseClick(l.f->form().keyProgrammingButton, Qt::LeftButton);
    }
    QFETCH(QString, text);
    QTRY_COMPARE(l.cell(row, column), text);
}

void KeyModeTest::buttonReplacingTheTableWaitEndsIt_data()
{
    const QString noTable = QStringLiteral("Таблица ключей не получена от прибора. Таблица на экране не показывает "
                                           "ключи прибора; при записи она заменит все десять ключей прибора.");
    const QString question = noTable + QStringLiteral("\r\nЗаписать таблицу с экрана в прибор?");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<int>("readKeyRow"); // 0: "Сохранить "
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("written");
    // The table comes during the write's pause: it must not replace the edit.
    QTest::newRow("Сохранить, confirmed") << QStringList{"--delay", "300"} << 0 << true
                                          << QStringList{question, "Процесс записи ключей завершился. Все OK."} << true;
    QTest::newRow("Сохранить, declined") << QStringList{"--delay", "300"} << 0 << false << QStringList{question} << false;
    QTest::newRow("Читать Ключ") << QStringList{"--silent", "Cn"} << 2 << true << QStringList{noTable} << false;
}

void KeyModeTest::buttonReplacingTheTableWaitEndsIt()
{
    QFETCH(QStringList, simOptions);
    QFETCH(int, readKeyRow);
    QFETCH(bool, answer);
    TimerIntervals iv = keyIntervals();
    iv.responseTimeoutMs = 2000;
    iv.keyWriteWaitMs = 700;
    const QByteArray table = tableWith({{"Master", "\x01"}});
    Line l(table, simOptions, iv);
    l.f->boxes.setQuestionAnswer(answer);
    l.panel().keyGrid->item(1, 1)->setText(QStringLiteral("Edited"));
    l.panel().keyGrid->item(1, 2)->setText(QStringLiteral("0A"));
    QTest::mouseClick(l.f->form().keyProgrammingButton, Qt::LeftButton);
    QCOMPARE(l.f->state(), int(ssReadKeyTable));
    if (readKeyRow > 0) {
        QTest::mouseClick(l.panel().readKeyButtons[readKeyRow - 1], Qt::LeftButton);
        QTRY_COMPARE(l.cell(readKeyRow, 2), BytesToHex(sim::defaultKeyCode()));
    } else {
        QVERIFY(l.write());
        QCOMPARE(l.outcomes.first(), answer ? KeyWriteOutcome::Confirmed : KeyWriteOutcome::NotConfirmed);
    }
    // Whatever comes late is only logged.
    QTest::qWait(400);
    QTEST(l.f->boxes.texts(), "boxes");
    QFETCH(bool, written);
    QCOMPARE(l.storedTable(), written ? keyTableRecords(l.panel().rows()) : table);
    QCOMPARE(l.cell(1, 1), QStringLiteral("Edited"));
}

// A settings read from the menu replaces the wait for "OK": the write is
// over, and the panel's buttons, "Отменить" among them, work again.
void KeyModeTest::otherExchangeReplacingTheWriteGivesCancelBack()
{
    TimerIntervals iv = keyIntervals();
    iv.responseTimeoutMs = 2000;
    Line l(tableWith({{"Master", "\x01"}}), {"--silent", "Wr"}, iv);
    QVERIFY(l.open());
    QTest::mouseClick(l.panel().writeKeysButton, Qt::LeftButton);
    QTRY_COMPARE(l.f->state(), int(ssPrepareKeyWrite));
    QVERIFY(!l.panel().closeKeysButton->isEnabled());
    l.f->form().readSettingsAction->trigger();
    QCOMPARE(l.outcomes, QList<KeyWriteOutcome>{KeyWriteOutcome::Interrupted});
    QVERIFY(l.panel().closeKeysButton->isEnabled() && l.panel().readKeyButtons[0]->isEnabled());
    QTRY_VERIFY(l.f->state() == ssIdle || l.f->state() == ssClosed);
    QTest::mouseClick(l.panel().closeKeysButton, Qt::LeftButton);
    QVERIFY(l.f->form().keyFrame->isHidden());
}

void KeyModeTest::keyFilesThroughThePanel()
{
    Line l(tableWith({{"Master", "\x01"}, {"Second", "\x02"}}));
    QVERIFY(l.open());
    const QString chosen = l.dir.filePath(QStringLiteral("keys.KEY"));
    l.keys()->setFileDialogs(std::make_unique<FixedDialogs>(chosen));
    QTest::mouseClick(l.panel().saveKeyFileButton, Qt::LeftButton);
    QCOMPARE(readFileBytes(chosen).count("\r\n"), 40);
    const KeyRows saved = l.panel().rows();
    l.panel().setRows(KeyRows{});
    QTest::mouseClick(l.panel().loadKeyFileButton, Qt::LeftButton);
    QCOMPARE(l.panel().rows(), saved);

    QFile bad(chosen);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("#2\r\nThird\r\n03\r\n/2\r\n#x\r\n");
    bad.close();
    QTest::mouseClick(l.panel().loadKeyFileButton, Qt::LeftButton);
    QCOMPARE(l.cell(2, 1), QStringLiteral("Third"));
    QCOMPARE(l.f->boxes.texts(), QStringList{QStringLiteral("Ошибка формата файла ключей в строке 5")});
}

void KeyModeTest::cellEditorTakesLettersAndDigitsUpToItsPositions()
{
    ExchangeFixture f;
    f.form().show();
    f.form().keyFrame->show();
    f.form().keyFrame->setEnabled(true);
    QTableWidget *grid = f.form().keyPanel->keyGrid;
    auto type = [grid](int row, int column, const QString &keys) {
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        auto *editor = grid->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_End);
        // Key events carrying the typed text, as a keyboard layout gives
        // them (the test library's own clicks know ASCII only).
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(editor, &press);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits and closes the editor from its event queue.
        QTRY_VERIFY(grid->findChildren<QLineEdit *>().isEmpty());
    };
    type(1, 2, QStringLiteral("01 ab-CD0123456789EF99"));
    // Codes are taken in upper case, as the grid shows them.
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("01ABCD0123456789"));
    type(2, 1, QStringLiteral("Дверь 2, вход"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("Дверь2вход"));
    QGuiApplication::clipboard()->setText(QStringLiteral("0A-0B 0C\tFFFFFFFFFFFFFFFFFF"));
    grid->item(4, 2)->setText(QStringLiteral("12"));
    grid->setCurrentCell(4, 2);
    grid->editItem(grid->item(4, 2));
    QTest::keyClick(grid->findChild<QLineEdit *>(), Qt::Key_End);
    QTest::keyClick(grid->findChild<QLineEdit *>(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(grid->findChild<QLineEdit *>(), Qt::Key_Return);
    QTRY_COMPARE(grid->item(4, 2)->text(), QStringLiteral("120A0B0CFFFFFFFF"));
    // Letters code page 1251 lacks never get in, whichever way they come:
    // typed, committed by an input method, or dropped.
    type(5, 1, QStringLiteral("aü東b"));
    QCOMPARE(grid->item(5, 1)->text(), QStringLiteral("ab"));
    grid->setCurrentCell(6, 1);
    grid->editItem(grid->item(6, 1));
    auto *editor = grid->findChild<QLineEdit *>();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("Ключ ü, 東 12"));
    QApplication::sendEvent(editor, &commit);
    QMimeData dragged;
    dragged.setText(QStringLiteral("-X ü Y"));
    QDropEvent drop(QPointF(editor->width() - 2, editor->height() / 2), Qt::CopyAction, &dragged, Qt::LeftButton,
                    Qt::NoModifier);
    // Delivered to the editor itself: the application would want a drag in
    // progress first.
    static_cast<QObject *>(editor)->event(&drop);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid->item(6, 1)->text(), QStringLiteral("Ключ12XY"));
    // A longer text from a key file is kept whole; it only cannot grow.
    grid->item(3, 1)->setText(QStringLiteral("Описание из файла 20"));
    type(3, 1, QStringLiteral("x"));
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("Описание из файла 20"));
    // The number column and the header row take no edits.
    QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(grid->item(4, 0)->flags() & Qt::ItemIsEditable));
}

// In English the grid's headers and the write's box are English; a switch
// back writes the headers in Russian again.
void KeyModeTest::englishHeadersAndBoxes()
{
    Line l(tableWith({{"Master", "\x01"}}));
    l.f->form().englishAction->trigger();
    QVERIFY(l.open());
    QCOMPARE((QStringList{l.cell(0, 0), l.cell(0, 1), l.cell(0, 2)}),
             (QStringList{QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Key code")}));
    QVERIFY(l.write());
    QCOMPARE(l.f->boxes.texts(), QStringList{QStringLiteral("Writing the keys finished. All OK.")});
    l.f->form().russianAction->trigger();
    QCOMPARE(l.cell(0, 0) + l.cell(0, 1) + l.cell(0, 2), QStringLiteral("№ клОписаниеКодКлюча"));
}

QTEST_MAIN(KeyModeTest)
#include "test_keys_mode.moc"
