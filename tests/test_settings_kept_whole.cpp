// Settings that used to be lost or changed on their way through a text box,
// a phone box, a configuration file or a read: each case is the one that
// showed the fault.

#include "editor_fixture.h"

#include "config_file/config_loader.h"
#include "config_file/config_writer.h"
#include "config_file/session_stamp.h"
#include "core/event_log.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/image_reader.h"

#include <QApplication>
#include <QClipboard>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class SettingsKeptWholeTest : public QObject {
    Q_OBJECT
private slots:
    void textBoxesTakeNoControlCharacters_data();
    void textBoxesTakeNoControlCharacters();
    void controlBytesSetByCodeSaveAsBlanksAndLoadBack();
    void inactiveInputIsSavedAndSwitchesOffOnLoad();
    void phoneBoxClosesGaps();
    void toolsOwnNoSelectionFormsReadWithoutReports();
};

void SettingsKeptWholeTest::textBoxesTakeNoControlCharacters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("message, CR LF and 1A")
        << "Edit1" << QStringLiteral("Тре\r\nвога\x1A!") << QStringLiteral("Тревога!");
    QTest::newRow("message, outside code page") << "Edit2" << QStringLiteral("A漢\tB") << QStringLiteral("AB");
    QTest::newRow("date") << "Edit_Date" << QStringLiteral("01.02.24\r\n") << QStringLiteral("01.02.24");
    QTest::newRow("time") << "Edit_time"
                          << QStringLiteral("\x1A"
                                            "12:00:00")
                          << QStringLiteral("12:00:00");
}

void SettingsKeptWholeTest::textBoxesTakeNoControlCharacters()
{
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    EditorFixture f;
    f.box(QStringLiteral("CheckBox4"))->setChecked(false);
    f.box(QStringLiteral("CheckBox_in1"))->setChecked(true);
    f.box(QStringLiteral("CheckBox_in2"))->setChecked(true);
    QLineEdit* edit = f.edit(box);
    edit->clear();
    QApplication::clipboard()->setText(pasted);
    edit->paste();
    QCOMPARE(edit->text(), kept);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("\t"));
    QCOMPARE(edit->text(), kept);
}

void SettingsKeptWholeTest::controlBytesSetByCodeSaveAsBlanksAndLoadBack()
{
    EditorFixture a;
    ControlAccess ca(*a.panels);
    ca.setChecked(QStringLiteral("CheckBox_in2"), true);
    ca.setText(QStringLiteral("Edit2"),
        QStringLiteral("A\r\nB\x1A"
                       "C"));
    const QByteArray file = encodeConfiguration(ca, SessionStamp {});
    EditorFixture b;
    ControlAccess cb(*b.panels);
    EventLog log;
    loadConfiguration(file, cb, log);
    QCOMPARE(cb.text(QStringLiteral("Edit2")), QStringLiteral("A  B C"));
    // Every record after it arrived too.
    QCOMPARE(encodeConfiguration(cb, SessionStamp {}), file);
}

void SettingsKeptWholeTest::inactiveInputIsSavedAndSwitchesOffOnLoad()
{
    EditorFixture saved;
    ControlAccess cs(*saved.panels);
    cs.setChecked(QStringLiteral("CheckBox_in3"), false);
    const QByteArray file = encodeConfiguration(cs, SessionStamp {});
    QVERIFY(file.contains("#03\r\n"));
    EditorFixture loaded;
    ControlAccess cl(*loaded.panels);
    cl.setChecked(QStringLiteral("CheckBox_in3"), true);
    cl.setText(QStringLiteral("Edit3"), QStringLiteral("Окно"));
    EventLog log;
    loadConfiguration(file, cl, log);
    QVERIFY(!cl.checked(QStringLiteral("CheckBox_in3")));
    QCOMPARE(log.textLines(), QStringList());
}

void SettingsKeptWholeTest::phoneBoxClosesGaps()
{
    EditorFixture f;
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.host));
    auto* phone = qobject_cast<QLineEdit*>(f.control(QStringLiteral("ME_tel2")));
    phone->setText(QStringLiteral("+"));
    // A click into the middle of the empty box, then typing.
    QTest::mouseClick(phone, Qt::LeftButton, {}, QPoint(phone->width() * 2 / 3, phone->height() / 2));
    QTest::keyClicks(phone, QStringLiteral("79161234567"));
    QCOMPARE(PhoneDigits(f.panels->text(QStringLiteral("ME_tel2"))), QStringLiteral("79161234567"));
    // A typo deleted in the middle.
    phone->setCursorPosition(5);
    QTest::keyClick(phone, Qt::Key_Backspace);
    QCOMPARE(phone->cursorPosition(), 4);
    QCOMPARE(f.panels->text(QStringLiteral("ME_tel2")).trimmed(), QStringLiteral("+7911234567"));
    QCOMPARE(PhoneDigits(f.panels->text(QStringLiteral("ME_tel2"))), QStringLiteral("7911234567"));
}

void SettingsKeptWholeTest::toolsOwnNoSelectionFormsReadWithoutReports()
{
    EditorFixture f;
    ControlAccess c(*f.panels);
    EventLog log;
    // An inactive input as the tool writes it into the image.
    decodeSettingsImage(QByteArray("\x02 \r000", 6) + QByteArray(8, '\0'), c, log);
    loadConfiguration("#20\r\n-\r\n//#20\r\n", c, log);
    QCOMPARE(log.textLines(), QStringList());
    QCOMPARE(c.index(QStringLiteral("CBox_INPUT")), -1);
}

QTEST_MAIN(SettingsKeptWholeTest)
#include "test_settings_kept_whole.moc"
