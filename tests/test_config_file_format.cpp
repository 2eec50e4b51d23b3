// The configuration file: what the save writes, byte for byte, and what the
// one-pass loader makes of files, report lines and conversion errors
// included.

#include "config_file/config_loader.h"
#include "config_file/config_writer.h"
#include "core/errors.h"
#include "editor/controls.h"
#include "editor/sensor_panel.h"
#include "editor/settings_panels.h"
#include "file_bytes.h"
#include "formats_fixture.h"
#include "settings/control_names.h"
#include "settings/image_encoder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const SessionStamp kStamp{QStringLiteral("24.12.2025"), QStringLiteral("9:05:07")};

QByteArray crlf(const QByteArray &raw)
{
    return raw + "\r\n";
}

// An input record with the given type, active and 24-hour lines and four
// output-time lines of 00 00.
QByteArray inputRecord(int input, const QString &type, const QString &active, const QString &control24)
{
    QByteArray out = cp1251Lines({QStringLiteral("#0%1").arg(input), QStringLiteral("x"), type, active, control24});
    for (int k = 0; k < 4; ++k)
        out += crlf(QByteArray(2, '\0'));
    return out;
}

// The log lines one load adds.
QStringList load(FormatsWindow &w, const QByteArray &content)
{
    const qsizetype before = w.form().eventLog.lines().size();
    loadConfiguration(content, w.controls(), w.form().eventLog);
    return w.log().mid(before);
}

QByteArray withoutClosingBlock(const QByteArray &file)
{
    const qsizetype closing = file.indexOf("@message\r\n");
    return closing < 0 ? file : file.left(closing);
}

// The whole state the file and the image carry, as bytes.
QByteArray everything(FormatsWindow &w)
{
    return encodeConfiguration(w.controls(), kStamp) + encodeWriteStream(w.controls(), w.form().shared);
}

} // namespace

class ConfigFileFormatTest : public QObject {
    Q_OBJECT
private slots:
    void richStateMatchesTheGoldenFile()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const QByteArray file = encodeConfiguration(w.controls(), kStamp);
        QCOMPARE(withoutClosingBlock(file), readFileBytes(testDataPath(QStringLiteral("settings_rich.cfg"))));
        QCOMPARE(file.mid(file.indexOf("@message")),
                 cp1251Lines({QStringLiteral("@message"), QStringLiteral("Дата сеанса:24.12.2025"),
                        QStringLiteral("Время сеанса:9:05:07")}));
    }

    void richStateLoadsBackIntoAResetWindow()
    {
        FormatsWindow source;
        applyRichState(source.controls());
        FormatsWindow target;
        target.controls().panels().cleanPanel();
        QVERIFY(load(target, readFileBytes(testDataPath(QStringLiteral("settings_rich.cfg")))).isEmpty());
        // Input 3 is not in the file, so it keeps the reset's inactive
        // state; its message box is only in the source.
        target.controls().setText(QStringLiteral("Edit3"), QStringLiteral("скрыто"));
        QCOMPARE(withoutClosingBlock(encodeConfiguration(target.controls(), kStamp)),
                 withoutClosingBlock(encodeConfiguration(source.controls(), kStamp)));
        QCOMPARE(encodeWriteStream(target.controls(), target.form().shared),
                 encodeWriteStream(source.controls(), source.form().shared));
        QVERIFY(!target.controls().checked(QStringLiteral("CheckBox4")));
    }

    void everyInputIsWrittenAndInactiveOnesSwitchOffOnLoad()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CheckBox_in3"), true);
        const QByteArray file = encodeConfiguration(c, kStamp);
        QVERIFY(file.startsWith("#01\r\n"));
        QVERIFY(file.contains("\r\n#03\r\n"));
        QVERIFY(file.contains("\r\n#02\r\n"));
        QVERIFY(file.contains("\r\n#04\r\n"));

        FormatsWindow other;
        other.controls().setChecked(QStringLiteral("CheckBox_in2"), true);
        load(other, file);
        QVERIFY(!other.controls().checked(QStringLiteral("CheckBox_in2")));
        QVERIFY(other.controls().checked(QStringLiteral("CheckBox_in3")));
    }

    void unusedOutputsWriteZerosThatOnlyClearTheAssignments()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        c.setChecked(QStringLiteral("CheckBox_11"), false);
        const QByteArray file = encodeConfiguration(c, kStamp);
        QVERIFY(file.startsWith(cp1251Lines({"#01", "Дверь", "2", "1", "0"}) + QByteArray("\0\0\r\n", 4).repeated(4)));

        FormatsWindow target;
        auto &t = target.controls();
        applyRichState(t);
        load(target, file);
        for (const char *name : {"RG_OUT11", "RG_OUT1S", "RG_OUT12", "RG_OUT13"})
            QVERIFY2(!t.checked(QLatin1String(name)), name);
        QVERIFY(t.checked(QStringLiteral("CheckBox11S")));
        QCOMPARE(t.text(QStringLiteral("Edit_OUT13s")), QStringLiteral("1"));
    }

    // The image sends eight 00 bytes for a switched-off input; the file keeps
    // its rows, so that switching it on again after a load brings them back.
    void switchedOffInputKeepsItsOutputRowsThroughTheFile()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CheckBox_in3"), true);
        c.setText(QStringLiteral("Edit3"), QStringLiteral("Гараж"));
        c.setChecked(QStringLiteral("RG_OUT31"), false);
        c.setChecked(QStringLiteral("RG_OUT32"), false);
        c.setChecked(QStringLiteral("RG_OUT3S"), true);
        c.setChecked(QStringLiteral("CheckBox31S"), true);
        c.setChecked(QStringLiteral("RG_OUT33"), true);
        c.setText(QStringLiteral("Edit_OUT33m"), QStringLiteral("2"));
        c.setText(QStringLiteral("Edit_OUT33s"), QStringLiteral("5"));
        const QByteArray whenOn = encodeInputRecord(c, 3);
        c.setChecked(QStringLiteral("CheckBox_in3"), false);
        QVERIFY(encodeInputRecord(c, 3).endsWith(QByteArray(8, '\0')));
        const QByteArray file = encodeConfiguration(c, kStamp);
        QVERIFY(file.contains(QByteArray("\0\0\r\n\xFF\xDC\r\n\0\0\r\n\0\x7D\r\n//#03", 21)));

        FormatsWindow target;
        auto &t = target.controls();
        load(target, file);
        runRulesAfterLoad(t);
        QVERIFY(!t.checked(QStringLiteral("CheckBox_in3")));
        t.setChecked(QStringLiteral("CheckBox_in3"), true);
        QCOMPARE(encodeInputRecord(t, 3), whenOn);
    }

    // A hand-made block may switch a sensor off and leave its keeping box
    // ticked: after the load neither sensor's keeping boxes are enabled.
    void rulesAfterLoadKeepBothSwitchedOffSensorsKeepingBoxesOff()
    {
        FormatsWindow w;
        QStringList block{"#23"};
        for (int sensor = 1; sensor <= 2; ++sensor)
            block << QStringList{"0", "20", "30", "1", "0", "18", "22", "1"};
        load(w, cp1251Lines(block));
        runRulesAfterLoad(w.controls());
        for (int sensor = 1; sensor <= 2; ++sensor) {
            const SensorPanel *p = w.form().panels->sensorPanel(sensor);
            QVERIFY(p->keepingBox->isChecked());
            QVERIFY2(!p->economyEdit->isEnabled() && !p->outputList->isEnabled() && !p->autoBox->isEnabled(),
                     qPrintable(QStringLiteral("sensor %1").arg(sensor)));
        }
    }

    void assignedZeroTimeLoadsAsNotAssignedAndAlwaysOnAsZeroOne()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("RG_OUT12"), true);
        c.setText(QStringLiteral("Edit_OUT12m"), QStringLiteral("0"));
        c.setText(QStringLiteral("Edit_OUT12s"), QStringLiteral("0"));
        c.setChecked(QStringLiteral("RG_OUT1S"), true);
        c.setChecked(QStringLiteral("CheckBox11S"), true);
        c.setText(QStringLiteral("Edit_OUT1Sm"), QStringLiteral("5"));
        const QByteArray file = encodeConfiguration(c, kStamp);
        load(w, file);
        QVERIFY(!c.checked(QStringLiteral("RG_OUT12")));
        QVERIFY(c.checked(QStringLiteral("RG_OUT1S")));
        QVERIFY(c.checked(QStringLiteral("CheckBox11S")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT1Sm")), QStringLiteral("0"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT1Ss")), QStringLiteral("1"));
    }

    void timeBoxThatIsNoNumberIsSavedAsItsBoxReadsIt()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("RG_OUT13"), true);
        c.setText(QStringLiteral("Edit_OUT13m"), QStringLiteral("3"));
        c.setText(QStringLiteral("Edit_OUT13s"), QString());
        const QByteArray file = encodeConfiguration(c, kStamp);
        // Relay 1 is the fourth output-time line: 3 minutes 0 seconds.
        QVERIFY(file.startsWith(cp1251Lines({"#01", "", "0", "1", "0"}) + crlf(QByteArray(2, '\0')).repeated(3)
                                + crlf(QByteArray("\x00\xB4", 2))));
    }

    void outputTimesWithLineEndBytesSurviveSaveAndLoad()
    {
        FormatsWindow w;
        auto &c = w.controls();
        // 10, 13 and 26 seconds; 2570, 3341 and 6682 seconds are 0A0A, 0D0D
        // and 1A1A.
        const int times[][4] = {{10, 13, 26, 2570}, {3341, 6682, 2560, 2829}};
        for (int input = 1; input <= 2; ++input) {
            c.setChecked(inputControls(input).active, true);
            for (int slot = 0; slot < 4; ++slot) {
                const OutputControls out = outputControls(input, slot);
                c.setChecked(out.assignment, true);
                c.setText(out.minutes, QString::number(times[input - 1][slot] / 60));
                c.setText(out.seconds, QString::number(times[input - 1][slot] % 60));
            }
        }
        const QByteArray file = encodeConfiguration(c, kStamp);
        FormatsWindow target;
        load(target, file);
        auto &t = target.controls();
        for (int input = 1; input <= 2; ++input) {
            for (int slot = 0; slot < 4; ++slot) {
                const OutputControls out = outputControls(input, slot);
                QVERIFY2(t.checked(out.assignment), qPrintable(out.assignment));
                QCOMPARE(t.spinNumber(out.minutes) * 60 + t.spinNumber(out.seconds), times[input - 1][slot]);
            }
        }
        QVERIFY(t.checked(QStringLiteral("CheckBox_td2")) == false);
        QCOMPARE(everything(target), everything(w));
    }

    void disabledSensorIsWrittenAsZerosAndLoadsCleared()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CheckBox_td2"), true);
        c.setChecked(QStringLiteral("CheckBox_td21"), true);
        c.setChecked(QStringLiteral("CheckBox_td2_auto"), true);
        c.setText(QStringLiteral("SE_min_td2"), QStringLiteral("20"));
        c.setIndex(QStringLiteral("CB_td2_out"), 3);
        const QByteArray zeros = cp1251Lines({"#23", "0", "0", "0", "0", "0", "0", "0", "0"}) + cp1251Lines(QStringList(8, "0"))
            + cp1251Lines({"//#23"});
        load(w, zeros);
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td2")));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td21")));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td2_auto")));
        // The temperature rule turns every 0 into 1.
        QCOMPARE(c.text(QStringLiteral("SE_min_td2")), QStringLiteral("1"));
        QCOMPARE(c.text(QStringLiteral("SE_max_td21")), QStringLiteral("1"));
        QCOMPARE(c.index(QStringLiteral("CB_td2_out")), 0);
        QVERIFY(encodeConfiguration(c, kStamp).contains(zeros));
    }

    void emptyPhoneBoxIsWrittenAsSevenAndLoadsAsPlusSeven()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("ME_tel2"), QStringLiteral("+"));
        QVERIFY(encodeConfiguration(c, kStamp).contains(cp1251Lines({"#12", "7", "//#12"})));
        load(w, cp1251Lines({"#12", "7", "#13", "", "#14", "123"}));
        QCOMPARE(c.text(QStringLiteral("ME_tel2")).trimmed(), QStringLiteral("+7"));
        QCOMPARE(c.text(QStringLiteral("ME_tel3")).trimmed(), QStringLiteral("+"));
        QCOMPARE(c.text(QStringLiteral("ME_tel4")).trimmed(), QStringLiteral("+123"));
    }

    void reportLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("level of input 1") << inputRecord(1, "5", "1", "0") << QStringList{"#1Уровень Активации :=5"};
        // "-" is the tool's own line for a type list without a selection.
        QTest::newRow("no level of input 2") << inputRecord(2, "-", "1", "0") << QStringList{};
        QTest::newRow("level of input 2") << inputRecord(2, "x", "1", "0") << QStringList{"#2 Уровень Активации :=x"};
        QTest::newRow("code of input 2") << inputRecord(2, "0", "x", "0") << QStringList{"#2 Код Активации :=x"};
        QTest::newRow("24-hour of input 3") << inputRecord(3, "0", "1", "7") << QStringList{"#3Уровень Активации :=7"};
        QTest::newRow("arming level") << cp1251Lines({"#20", "Q"})
                                      << QStringList{"#20 - Ошибка формата", "Код Активации =Q"};
        QTest::newRow("SMS at arming") << cp1251Lines({"#21", "17"})
                                       << QStringList{"#21 - Ошибка формата передаваемых данных", "На входе =7"};
        QTest::newRow("SMS line too short") << cp1251Lines({"#21", "1"})
                                            << QStringList{"#21 - Ошибка формата передаваемых данных", "На входе ="};
        QTest::newRow("valid values") << inputRecord(4, "2", "0", "1") + cp1251Lines({"#20", "T", "#21", "01"})
                                      << QStringList{};
    }
    void reportLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, report);
        FormatsWindow w;
        QCOMPARE(load(w, file), report);
    }

    void reportedValuesAndTheirControls()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setIndex(QStringLiteral("CBox_IN1"), 2);
        c.setChecked(QStringLiteral("CB_ctrl_24_1"), true);
        load(w, inputRecord(1, "5", "1", "7"));
        QCOMPARE(c.index(QStringLiteral("CBox_IN1")), -1);
        QVERIFY(c.checked(QStringLiteral("CB_ctrl_24_1")));

        c.setChecked(QStringLiteral("CheckBox_in2"), true);
        load(w, inputRecord(2, "1", "x", "0"));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_in2")));

        load(w, cp1251Lines({"#21", "17"}));
        QVERIFY(c.checked(QStringLiteral("CheckBox_SMS_in")));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_SMS_out")));

        c.setIndex(QStringLiteral("CBox_INPUT"), 1);
        load(w, cp1251Lines({"#20", "T"}));
        QCOMPARE(c.index(QStringLiteral("CBox_INPUT")), -1);
        load(w, cp1251Lines({"#20", "P"}));
        QCOMPARE(c.index(QStringLiteral("CBox_INPUT")), 2);
    }

    void byte1AInsideAnInputRecordEndsTheLoad()
    {
        // The message line runs into a 1A: the file ends there, so the
        // record's output-time lines are empty and "#40" is never read.
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CheckBox_SMS_All"), false);
        load(w, QByteArray("#01\r\nab\x1A" "x\r\n0\r\n1\r\n0\r\n#40\r\n1\r\n"));
        QCOMPARE(c.text(QStringLiteral("Edit1")), QStringLiteral("ab"));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_SMS_All")));
    }

    void longMessagesLoadWholeAndAreSavedCutPerInput()
    {
        // A message line becomes the box's text whole, longer than the box
        // takes by typing; the save cuts input 1 to 25 characters and the
        // other inputs to 40.
        const QString thirty = QString(30, QChar(u'Ж'));
        const QString fortyFive = QString(45, QChar(u'ю'));
        QByteArray file;
        for (int input : {1, 2}) {
            file += cp1251Lines({QStringLiteral("#0%1").arg(input), input == 1 ? thirty : fortyFive, "0", "1", "0"});
            file += crlf(QByteArray(2, '\0')).repeated(4);
        }
        FormatsWindow w;
        auto &c = w.controls();
        QVERIFY(load(w, file).isEmpty());
        QCOMPARE(c.text(QStringLiteral("Edit1")), thirty);
        QCOMPARE(c.text(QStringLiteral("Edit2")), fortyFive);
        const QByteArray saved = encodeConfiguration(c, kStamp);
        QVERIFY(saved.contains(cp1251Lines({"#01", thirty.left(25)})));
        QVERIFY(saved.contains(cp1251Lines({"#02", fortyFive.left(40)})));
        // Typing goes back to the box's own limit once the text is short.
        c.setText(QStringLiteral("Edit2"), QStringLiteral("x"));
        QCOMPARE(c.panels().lineEdit(QStringLiteral("Edit2"))->maxLength(), 25);
    }

    void fileWithOnlyRecord40ChangesOnlyItsBox()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        w.controls().setChecked(QStringLiteral("CheckBox_SMS_All"), false);
        const QByteArray before = everything(w);
        load(w, cp1251Lines({"#40", "1"}));
        QVERIFY(w.controls().checked(QStringLiteral("CheckBox_SMS_All")));
        w.controls().setChecked(QStringLiteral("CheckBox_SMS_All"), false);
        QCOMPARE(everything(w), before);
    }

    void unknownHeadersAreSkippedAlone()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CB_Ctrl_Volt"), true);
        load(w, cp1251Lines({"#46", "#40", "1", "#5", "#41", "0", "text", "", "#99x", "#1", "Один", "1", "1", "1"}));
        QVERIFY(c.checked(QStringLiteral("CheckBox_SMS_All")));
        QVERIFY(!c.checked(QStringLiteral("CB_Ctrl_Volt")));
        // "#1" is record 1; only the first two digits of a number count.
        QCOMPARE(c.text(QStringLiteral("Edit1")), QStringLiteral("Один"));
        load(w, cp1251Lines({"#405", "0"}));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_SMS_All")));
    }

    void laterRecordWinsAndFieldLinesAreNeverHeaders()
    {
        FormatsWindow w;
        auto &c = w.controls();
        load(w, cp1251Lines({"#11", "111", "#11", "222", "#01", "#45", "0", "1", "0"}) + QByteArray("\0\0\r\n", 4).repeated(4)
                    + cp1251Lines({"#45", "1"}));
        QCOMPARE(c.text(QStringLiteral("ME_tel1")).trimmed(), QStringLiteral("+222"));
        QCOMPARE(c.text(QStringLiteral("Edit1")), QStringLiteral("#45"));
        // A radio group asked for an entry beyond its last selects its last.
        QCOMPARE(c.index(QStringLiteral("RG_Lang")), 0);
    }

    void singleValueRecordsIgnoreOtherValues()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        const QByteArray before = everything(w);
        load(w, cp1251Lines({"#37", "3", "#38", "10", "#39", "2", "x", "", "2", "#40", "", "#41", "x1", "#45", "7"}));
        c.setIndex(QStringLiteral("CB_on_output_in"), 3);
        QCOMPARE(everything(w), before);
        load(w, cp1251Lines({"#37", "1", "#38", "0", "#42", "10", "#43", "0x", "#44", "1", "#36", "7", "8", "1"}));
        QCOMPARE(c.index(QStringLiteral("RadioGroup1")), 0);
        // "-", this tool's line for no selection, selects none.
        load(w, cp1251Lines({"#37", "-"}));
        QCOMPARE(c.index(QStringLiteral("RadioGroup1")), -1);
        load(w, cp1251Lines({"#37", "1"}));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_Audio")));
        QVERIFY(c.checked(QStringLiteral("CB_Time_SMS")));
        QVERIFY(!c.checked(QStringLiteral("CB_Alarm_SMS")));
        QVERIFY(c.checked(QStringLiteral("CB_Alarm_Ring")));
        QCOMPARE(c.text(QStringLiteral("SE_inp")), QStringLiteral("7"));
        QCOMPARE(c.text(QStringLiteral("SE_out")), QStringLiteral("8"));
        // A delay line shorter than four characters clears the missing ones.
        QVERIFY(c.checked(QStringLiteral("CB_delay1")));
        QVERIFY(!c.checked(QStringLiteral("CB_delay3")));
    }

    void conversionErrorStopsTheLoad_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("header #") << cp1251Lines({"#40", "1", "#", "#41", "0"}) << "'' is not a valid integer value";
        QTest::newRow("header #ab") << cp1251Lines({"#40", "1", "#ab1", "#41", "0"}) << "'ab' is not a valid integer value";
        QTest::newRow("keeping output") << cp1251Lines({"#40", "1", "#23", "1", "5", "6", "0", "Реле", "0", "0", "0"})
                                        << "'Реле' is not a valid integer value";
        QTest::newRow("output at arming") << cp1251Lines({"#40", "1", "#39", "1", "1", "1", ""})
                                          << "'' is not a valid integer value";
    }
    void conversionErrorStopsTheLoad()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        FormatsWindow w;
        auto &c = w.controls();
        try {
            load(w, file);
            QFAIL("the load went through");
        } catch (const ConversionError &e) {
            QCOMPARE(e.message(), message);
        }
        // What was set before the error stays; nothing after it is applied.
        QVERIFY(c.checked(QStringLiteral("CheckBox_SMS_All")));
        QVERIFY(c.checked(QStringLiteral("CB_Ctrl_Volt")));
        if (file.contains("#23"))
            QVERIFY(c.checked(QStringLiteral("CheckBox_td1")));
    }

    void fileOfTheOriginalLayoutLoads()
    {
        FormatsWindow w;
        auto &c = w.controls();
        QVERIFY(load(w, readFileBytes(testDataPath(QStringLiteral("original_layout.cfg")))).isEmpty());
        QCOMPARE(c.text(QStringLiteral("Edit1")), QStringLiteral("Вход первый"));
        QCOMPARE(c.index(QStringLiteral("CBox_IN1")), 0);
        QVERIFY(c.checked(QStringLiteral("CB_ctrl_24_1")));
        QVERIFY(c.checked(QStringLiteral("RG_OUT11")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT11m")), QStringLiteral("0"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT11s")), QStringLiteral("10"));
        QVERIFY(!c.checked(QStringLiteral("RG_OUT1S")));
        QVERIFY(c.checked(QStringLiteral("RG_OUT12")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT12m")), QStringLiteral("1"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT12s")), QStringLiteral("0"));
        QVERIFY(c.checked(QStringLiteral("CheckBox113")));
        QVERIFY(c.checked(QStringLiteral("CheckBox_in3")));
        QCOMPARE(c.text(QStringLiteral("Edit3")), QStringLiteral("Склад"));
        QCOMPARE(c.index(QStringLiteral("CBox_IN3")), 2);
        QCOMPARE(c.text(QStringLiteral("Edit_OUT31m")), QStringLiteral("4"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT31s")), QStringLiteral("29"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT3Ss")), QStringLiteral("26"));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td1")));
        QVERIFY(c.checked(QStringLiteral("CheckBox_td2")));
        QCOMPARE(c.text(QStringLiteral("SE_min_td2")), QStringLiteral("5"));
        QCOMPARE(c.text(QStringLiteral("SE_max_td2")), QStringLiteral("40"));
        QCOMPARE(c.index(QStringLiteral("CB_td2_out")), 3);
        QCOMPARE(c.text(QStringLiteral("SE_Min_td21")), QStringLiteral("-10"));
        QCOMPARE(c.text(QStringLiteral("ME_tel1")).trimmed(), QStringLiteral("+79990001122"));
        QCOMPARE(c.index(QStringLiteral("CBox_INPUT")), 0);
        QVERIFY(!c.checked(QStringLiteral("CheckBox_SMS_in")));
        QVERIFY(c.checked(QStringLiteral("CheckBox_SMS_out")));
        QCOMPARE(c.text(QStringLiteral("SE_inp")), QStringLiteral("10"));
        QVERIFY(c.checked(QStringLiteral("CB_delay2")));
        QCOMPARE(c.text(QStringLiteral("Edit_Date")), QStringLiteral("01.06.16"));
        QCOMPARE(c.text(QStringLiteral("Edit_time")), QStringLiteral("14:30:00"));
        QCOMPARE(c.index(QStringLiteral("CB_on_output_in")), 4);
        QVERIFY(c.checked(QStringLiteral("CB_Alarm_Ring")));
    }

    void everyPrefixOfTheGoldenFileLoadsWithoutCrash()
    {
        const QByteArray file = readFileBytes(testDataPath(QStringLiteral("settings_rich.cfg")));
        QVERIFY(!file.isEmpty());
        FormatsWindow w;
        for (qsizetype n = 0; n <= file.size(); ++n) {
            const QByteArray prefix(file.constData(), n);
            try {
                load(w, prefix);
            } catch (const ConversionError &) {
                // A header cut to "#" or an index line cut empty.
            }
        }
        load(w, file);
        QCOMPARE(withoutClosingBlock(encodeConfiguration(w.controls(), kStamp)), withoutClosingBlock(file));
    }
};

QTEST_MAIN(ConfigFileFormatTest)
#include "test_config_file_format.moc"
