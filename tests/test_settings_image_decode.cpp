// Decoding a received settings image: every record kind, the walk, the
// format-error log entries word for word, and packets cut short anywhere.

#include "core/cp1251.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/settings_panels.h"
#include "formats_fixture.h"
#include "settings/image_encoder.h"
#include "settings/image_reader.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QString kError = QStringLiteral(" - Ошибка формата передаваемых данных");

// An input record with the given type, active and 24-hour bytes.
QByteArray inputRecord(int input, const QByteArray &text, char type, char active, char control24,
                       const QByteArray &times = QByteArray(8, '\0'))
{
    return char(input) + text + '\r' + type + active + control24 + times;
}

const QByteArray kOptions("!21011101031021\r");

// The log lines one decoding adds.
QStringList decode(FormatsWindow &w, const QByteArray &packet, int *counted = nullptr)
{
    const qsizetype before = w.form().eventLog.lines().size();
    const int n = decodeSettingsImage(packet, w.controls(), w.form().eventLog);
    if (counted)
        *counted = n;
    return w.log().mid(before);
}

} // namespace

class SettingsImageDecodeTest : public QObject {
    Q_OBJECT
private slots:
    void inputRecordSetsItsControls()
    {
        FormatsWindow w;
        auto &c = w.controls();
        const QByteArray times = bytes({0x00, 0x96, 0xFF, 0xDC, 0x00, 0x00, 0xFF, 0xFF});
        QVERIFY(decode(w, inputRecord(2, toCp1251(QStringLiteral("Гараж")), '2', '1', '1', times)).isEmpty());
        QCOMPARE(c.text(QStringLiteral("Edit2")), QStringLiteral("Гараж"));
        QCOMPARE(c.index(QStringLiteral("CBox_IN2")), 2);
        QVERIFY(c.checked(QStringLiteral("CheckBox_in2")));
        QVERIFY(c.checked(QStringLiteral("CB_ctrl_24_2")));
        QVERIFY(c.checked(QStringLiteral("CheckBox_21")));
        QVERIFY(c.checked(QStringLiteral("RG_OUT21")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT21m")), QStringLiteral("2"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT21s")), QStringLiteral("30"));
        QVERIFY(c.checked(QStringLiteral("RG_OUT2S")));
        QVERIFY(c.checked(QStringLiteral("CheckBox21S")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT2Sm")), QStringLiteral("0"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT2Ss")), QStringLiteral("1"));
        QVERIFY(!c.checked(QStringLiteral("RG_OUT22")));
        QVERIFY(!c.checked(QStringLiteral("CheckBox212")));
        // FFFF is no duration: assigned, times as they were.
        QVERIFY(c.checked(QStringLiteral("RG_OUT23")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT23m")), QStringLiteral("0"));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT23s")), QStringLiteral("1"));
    }

    void inputTypeIsReadAsWritten()
    {
        // "1" external level, "3" normally open, "2" normally closed: an
        // image written by this tool reads back with the same contact type.
        FormatsWindow w;
        auto &c = w.controls();
        const char written[] = {'1', '3', '2'};
        for (int entry = 0; entry < 3; ++entry) {
            decode(w, inputRecord(1, "x", written[entry], '1', '0') + '\0');
            QCOMPARE(c.index(QStringLiteral("CBox_IN1")), entry);
        }
    }

    void inactiveInputReadsBackInactiveAndLogsItsTypeByte()
    {
        // An inactive input is written with the type byte "0", which is no
        // input type: the input comes back inactive without a type, and
        // without a log entry, as the tool's own form.
        FormatsWindow w;
        auto &c = w.controls();
        c.setChecked(QStringLiteral("CheckBox_in1"), true);
        c.setIndex(QStringLiteral("CBox_IN1"), 1);
        QCOMPARE(decode(w, bytes({0x01, 0x20, 0x0D, '0', '0', '0', 0, 0, 0, 0, 0, 0, 0, 0})), QStringList());
        QVERIFY(!c.checked(QStringLiteral("CheckBox_in1")));
        QCOMPARE(c.text(QStringLiteral("Edit1")), QStringLiteral(" "));
        QCOMPARE(c.index(QStringLiteral("CBox_IN1")), -1);
    }

    void allZeroOutputTimesOnlyClearTheAssignments()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        decode(w, inputRecord(1, "x", '1', '1', '0') + '\0');
        for (const char *name : {"RG_OUT11", "RG_OUT1S", "RG_OUT12", "RG_OUT13"})
            QVERIFY2(!c.checked(QLatin1String(name)), name);
        // The always-on box, the times and the use-outputs box stay.
        QVERIFY(c.checked(QStringLiteral("CheckBox11S")));
        QCOMPARE(c.text(QStringLiteral("Edit_OUT11s")), QStringLiteral("1"));
        QVERIFY(c.checked(QStringLiteral("CheckBox_11")));
    }

    void inputFormatErrors_data()
    {
        QTest::addColumn<char>("type");
        QTest::addColumn<char>("active");
        QTest::addColumn<char>("control24");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("type 7") << '7' << '1' << '0'
                                << QStringList{QStringLiteral("#02") + kError, QStringLiteral("Уровень активации =7")};
        QTest::newRow("active x") << '1' << 'x' << '0'
                                  << QStringList{QStringLiteral("#02") + kError, QStringLiteral("Код Активации Входа=x")};
        QTest::newRow("24-hour 5") << '1' << '1' << '5'
                                   << QStringList{QStringLiteral("#02") + kError, QStringLiteral("Код Контроль24=5")};
    }
    void inputFormatErrors()
    {
        QFETCH(char, type);
        QFETCH(char, active);
        QFETCH(char, control24);
        QFETCH(QStringList, entries);
        FormatsWindow w;
        auto &c = w.controls();
        c.setIndex(QStringLiteral("CBox_IN2"), 1);
        c.setChecked(QStringLiteral("CheckBox_in2"), true);
        c.setChecked(QStringLiteral("CB_ctrl_24_2"), true);
        QCOMPARE(decode(w, inputRecord(2, "x", type, active, control24) + '\0'), entries);
        if (type == '7')
            QCOMPARE(c.index(QStringLiteral("CBox_IN2")), -1);
        // An active or 24-hour byte out of range clears its box.
        if (active == 'x')
            QVERIFY(!c.checked(QStringLiteral("CheckBox_in2")));
        if (control24 == '5')
            QVERIFY(!c.checked(QStringLiteral("CB_ctrl_24_2")));
    }

    void optionsFormatErrors_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<char>("byte");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("entries");
        const QString e33 = QStringLiteral("#33") + kError;
        auto zeroOne = [](const char *tag) {
            return QStringList{QLatin1String(tag) + kError, QStringLiteral("Символ <>0 или 1")};
        };
        QTest::newRow("level 9") << 1 << '9' << "CBox_INPUT" << QStringList{e33, QStringLiteral("На входе =9")};
        QTest::newRow("SMS in") << 2 << '7' << "CheckBox_SMS_in" << QStringList{e33, QStringLiteral("На входе =7")};
        QTest::newRow("SMS out") << 3 << 'a' << "CheckBox_SMS_out" << QStringList{e33, QStringLiteral("На входе =a")};
        QTest::newRow("sound") << 4 << '2' << "CheckBox_Audio" << zeroOne("#38");
        QTest::newRow("voltage") << 5 << '2' << "CB_Ctrl_Volt" << QStringList{e33, QStringLiteral("На входе =2")};
        QTest::newRow("UPS") << 6 << 'Z' << "CB_vnesh_IBP" << QStringList{e33, QStringLiteral("На входе =Z")};
        QTest::newRow("time in SMS") << 7 << '2' << "CB_Time_SMS" << zeroOne("#39(2)");
        QTest::newRow("microphone") << 8 << '2' << "CB_mic_dinam" << zeroOne("#39(3)");
        QTest::newRow("state SMS") << 9 << '2' << "CB_sms_sost" << zeroOne("#39(4)");
        QTest::newRow("output 5") << 10 << '5' << "CB_on_output_in" << QStringList{e33, QStringLiteral("На входе =5")};
        QTest::newRow("alarm SMS") << 11 << '2' << "CB_Alarm_SMS" << zeroOne("#39(2)");
        QTest::newRow("alarm call") << 12 << '2' << "CB_Alarm_Ring" << zeroOne("#39(2)");
        QTest::newRow("state output 3") << 13 << '3' << "RadioGroup1"
                                        << QStringList{QStringLiteral("#37") + kError, QStringLiteral("Символ <>1 или 2")};
        QTest::newRow("SMS to all") << 14 << '2' << "CheckBox_SMS_All" << zeroOne("#39(2)");
    }
    void optionsFormatErrors()
    {
        QFETCH(int, position);
        QFETCH(char, byte);
        QFETCH(QString, control);
        QFETCH(QStringList, entries);
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        const bool isList = control.startsWith(QLatin1String("CB_on")) || control.startsWith(QLatin1String("CBox"))
            || control.startsWith(QLatin1String("Radio"));
        const int before = isList ? c.index(control) : int(c.checked(control));
        QByteArray record = kOptions;
        record[position] = byte;
        QCOMPARE(decode(w, record), entries);
        // The control keeps its state.
        QCOMPARE(isList ? c.index(control) : int(c.checked(control)), before);
    }

    void optionsRecordSetsEveryField()
    {
        FormatsWindow w;
        auto &c = w.controls();
        int counted = 0;
        QVERIFY(decode(w, QByteArray("!30100101141020\r"), &counted).isEmpty());
        QCOMPARE(counted, 1);
        QCOMPARE(c.index(QStringLiteral("CBox_INPUT")), 2);
        QCOMPARE(c.checked(QStringLiteral("CheckBox_SMS_in")), false);
        QCOMPARE(c.checked(QStringLiteral("CheckBox_SMS_out")), true);
        QCOMPARE(c.checked(QStringLiteral("CheckBox_Audio")), false);
        QCOMPARE(c.checked(QStringLiteral("CB_Ctrl_Volt")), false);
        QCOMPARE(c.checked(QStringLiteral("CB_vnesh_IBP")), true);
        QCOMPARE(c.checked(QStringLiteral("CB_Time_SMS")), false);
        QCOMPARE(c.checked(QStringLiteral("CB_mic_dinam")), true);
        QCOMPARE(c.checked(QStringLiteral("CB_sms_sost")), true);
        QCOMPARE(c.index(QStringLiteral("CB_on_output_in")), 4);
        QCOMPARE(c.checked(QStringLiteral("CB_Alarm_SMS")), true);
        QCOMPARE(c.checked(QStringLiteral("CB_Alarm_Ring")), false);
        QCOMPARE(c.index(QStringLiteral("RadioGroup1")), 1);
        QCOMPARE(c.checked(QStringLiteral("CheckBox_SMS_All")), false);
    }

    void thermostatRecord()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        // Sensor 1 enabled without keeping: economy, comfort and automatic
        // regulation keep their values; sensor 2 disabled reads 49.
        c.setChecked(QStringLiteral("CheckBox_td21"), true);
        QVERIFY(decode(w, bytes({'#', '1', 0xC9, 0x7D, '0', 0x00, 0x00, '0', '0'}) + "01101100\r").isEmpty());
        QVERIFY(c.checked(QStringLiteral("CheckBox_td1")));
        QCOMPARE(c.text(QStringLiteral("SE_min_td1")), QStringLiteral("-55"));
        QCOMPARE(c.text(QStringLiteral("SE_max_td1")), QStringLiteral("125"));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td11")));
        QCOMPARE(c.text(QStringLiteral("SE_Min_td11")), QStringLiteral("18"));
        QCOMPARE(c.index(QStringLiteral("CB_td1_out")), 0);
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td2")));
        QCOMPARE(c.text(QStringLiteral("SE_min_td2")), QStringLiteral("49"));
        QCOMPARE(c.text(QStringLiteral("SE_max_td2")), QStringLiteral("49"));
        QVERIFY(!c.checked(QStringLiteral("CheckBox_td21")));
    }

    void thermostatKeepingFieldsAndOutputByte_data()
    {
        QTest::addColumn<char>("output");
        QTest::addColumn<int>("entry");
        QTest::newRow("0") << '0' << 0;
        QTest::newRow("1") << '1' << 0;
        QTest::newRow("4") << '4' << 3;
        QTest::newRow("5") << '5' << -1;
        QTest::newRow("not a digit") << 'A' << -1;
        QTest::newRow("FF") << char(0xFF) << -1;
    }
    void thermostatKeepingFieldsAndOutputByte()
    {
        QFETCH(char, output);
        QFETCH(int, entry);
        FormatsWindow w;
        auto &c = w.controls();
        decode(w, bytes({'#', '1', 0x05, 0x7E, '1', 0x10, 0xEC}) + "x" + output + "01101100\r");
        QCOMPARE(c.text(QStringLiteral("SE_max_td1")), QStringLiteral("-130"));
        QCOMPARE(c.text(QStringLiteral("SE_Min_td11")), QStringLiteral("16"));
        QCOMPARE(c.text(QStringLiteral("SE_max_td11")), QStringLiteral("-20"));
        QVERIFY(c.checked(QStringLiteral("CheckBox_td1_auto")));
        QCOMPARE(c.index(QStringLiteral("CB_td1_out")), entry);
    }

    void telephoneRecords()
    {
        FormatsWindow w;
        auto &c = w.controls();
        decode(w, QByteArray("\x11" "111/222/333/\r"));
        QCOMPARE(c.text(QStringLiteral("ME_tel1")).trimmed(), QStringLiteral("+111"));
        QCOMPARE(c.text(QStringLiteral("ME_tel2")).trimmed(), QStringLiteral("+222"));
        QCOMPARE(c.text(QStringLiteral("ME_tel3")).trimmed(), QStringLiteral("+333"));
        QCOMPARE(c.text(QStringLiteral("ME_tel4")).trimmed(), QStringLiteral("+7"));
        QCOMPARE(c.text(QStringLiteral("ME_tel5")).trimmed(), QStringLiteral("+333"));

        decode(w, QByteArray("\x11" "1/2/3/4/5/6/\r"));
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(c.text(QStringLiteral("ME_tel%1").arg(k)).trimmed(), QStringLiteral("+%1").arg(k));
        QCOMPARE(c.text(QStringLiteral("ME_tel5")).trimmed(), QStringLiteral("+6"));

        // An empty box was written as 7.
        decode(w, QByteArray("\x11" "7/7/7/7/7/\r"));
        QCOMPARE(c.text(QStringLiteral("ME_tel2")).trimmed(), QStringLiteral("+7"));
    }

    void dateTimeAndDelayRecordsAreNotCounted()
    {
        FormatsWindow w;
        auto &c = w.controls();
        int counted = -1;
        QVERIFY(decode(w, QByteArray("\x1C" "01.02.03;04:05:06\r$") + bytes({7, 200}) + "0110\r", &counted)
                    .isEmpty());
        QCOMPARE(counted, 0);
        QCOMPARE(c.text(QStringLiteral("Edit_Date")), QStringLiteral("01.02.03"));
        QCOMPARE(c.text(QStringLiteral("Edit_time")), QStringLiteral("04:05:06"));
        QCOMPARE(c.text(QStringLiteral("SE_inp")), QStringLiteral("7"));
        QCOMPARE(c.text(QStringLiteral("SE_out")), QStringLiteral("200"));
        QVERIFY(!c.checked(QStringLiteral("CB_delay1")));
        QVERIFY(c.checked(QStringLiteral("CB_delay2")));
        QVERIFY(c.checked(QStringLiteral("CB_delay3")));
        QVERIFY(!c.checked(QStringLiteral("CB_delay4")));
    }

    void shortDateOrTimeLogsThePinEntry()
    {
        FormatsWindow w;
        const QStringList entry{QStringLiteral("#26") + kError, QStringLiteral("Кол-во цифр в PIN коде < 4")};
        QCOMPARE(decode(w, QByteArray("\x1C" "01.02.03;04:05")), entry);
        QCOMPARE(w.controls().text(QStringLiteral("Edit_Date")), QStringLiteral("01.02.03"));
        QCOMPARE(decode(w, QByteArray("\x1C" "01.02")), entry + entry);
    }

    void emptyPacketCountsNothingAndZeroesTheDelays()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        int counted = -1;
        QVERIFY(decode(w, QByteArray(), &counted).isEmpty());
        QCOMPARE(counted, 0);
        QCOMPARE(c.text(QStringLiteral("SE_inp")), QStringLiteral("0"));
        QCOMPARE(c.text(QStringLiteral("SE_out")), QStringLiteral("0"));
    }

    void recordsInAnyOrderWithBytesBetweenDecodeTheSame()
    {
        FormatsWindow source;
        applyRichState(source.controls());
        const auto &sc = source.controls();
        QList<QByteArray> records;
        for (int input = 1; input <= 4; ++input)
            records << encodeInputRecord(sc, input);
        records << encodeThermostatRecord(sc) << encodeTelephoneRecord(sc) << encodeOptionsRecord(sc)
                << encodeDateTimeRecord(sc) << encodeDelayRecord(sc);

        QByteArray inOrder;
        for (const auto &r : records)
            inOrder += r;
        QByteArray shuffled = bytes({0x99, 0x99, 0x25, 0x01, 0x00, 0x7F});
        for (int k : {8, 6, 3, 0, 7, 5, 1, 4, 2}) {
            shuffled += records[k];
            // "%" skips the next byte, which here would start a record.
            shuffled += bytes({0x25, 0x21, 0x0D, 0x0A, 0x99});
        }
        shuffled += "\x99";

        FormatsWindow a;
        FormatsWindow b;
        int countedA = 0;
        int countedB = 0;
        // Input 3 is inactive: its record's type byte "0" logs nothing.
        const QStringList inactive3;
        QCOMPARE(decode(a, inOrder, &countedA), inactive3);
        QCOMPARE(decode(b, shuffled, &countedB), inactive3);
        QCOMPARE(countedA, 7);
        QCOMPARE(countedB, 7);
        QCOMPARE(encodeWriteStream(b.controls(), b.form().shared), encodeWriteStream(a.controls(), a.form().shared));
        QCOMPARE(encodeWriteStream(a.controls(), a.form().shared), encodeWriteStream(sc, source.form().shared));
    }

    void lastByteNeverStartsARecord()
    {
        FormatsWindow w;
        int counted = -1;
        QVERIFY(decode(w, QByteArray("\x00\x01", 2), &counted).isEmpty());
        QCOMPARE(counted, 0);
    }

    void decodingRunsThePanelRules()
    {
        FormatsWindow w;
        auto &panels = w.controls().panels();
        QStringList ran;
        panels.rules().onRule = [&ran](const QString &handler) { ran << handler; };
        decode(w, inputRecord(3, "x", '1', '1', '0', bytes({0, 5, 0, 0, 0, 0, 0, 0})) + '\0');
        QVERIFY(ran.contains(QStringLiteral("CheckBox_in3Click")));
        QVERIFY(ran.contains(QStringLiteral("RG_OUT31Click")));
        QVERIFY(panels.control(QStringLiteral("Panel_in3"))->isEnabled());
        QVERIFY(ownEnabled(panels.control(QStringLiteral("Edit3"))));
        QCOMPARE(background(panels.control(QStringLiteral("CheckBox_in3"))), palette::clGreen);
        QCOMPARE(background(panels.control(QStringLiteral("Panel_in3"))), palette::clMoneyGreen);
        QCOMPARE(background(panels.control(QStringLiteral("Panel3_2"))), palette::clMoneyGreen);
        QVERIFY(ownEnabled(panels.control(QStringLiteral("Edit_OUT31m"))));
    }

    void recordCutShortAtEveryPointEndsTheWalk()
    {
        FormatsWindow source;
        applyRichState(source.controls());
        const auto &sc = source.controls();
        struct Cut {
            QByteArray record;
            QString tag;
        };
        const QList<Cut> cuts = {
            {encodeInputRecord(sc, 1), QStringLiteral("#01")}, {encodeInputRecord(sc, 2), QStringLiteral("#02")},
            {encodeThermostatRecord(sc), QStringLiteral("#23")}, {encodeTelephoneRecord(sc), QStringLiteral("#11")},
            {encodeOptionsRecord(sc), QStringLiteral("#21")},   {encodeDelayRecord(sc), QStringLiteral("#24")},
        };
        FormatsWindow w;
        for (const Cut &cut : cuts) {
            // Every cut that leaves the type byte and a byte after it inside
            // the packet and ends before the record's last consumed byte.
            const bool leavesItsEnd = cut.tag == QLatin1String("#23") || cut.tag == QLatin1String("#21")
                || cut.tag == QLatin1String("#24");
            const qsizetype consumed = leavesItsEnd ? cut.record.size() - 1 : cut.record.size();
            for (qsizetype n = 2; n < consumed; ++n) {
                const QByteArray packet = cut.record.left(n);
                const QStringList added = decode(w, packet);
                QVERIFY2(added == (QStringList{cut.tag + kError, QStringLiteral("Запись не закончена: конец пакета")}),
                         qPrintable(cut.tag + QStringLiteral(" cut at %1: ").arg(n) + added.join(QLatin1Char('|'))));
            }
            // Whole, it decodes without an entry.
            QVERIFY(decode(w, cut.record.left(consumed) + '\r').isEmpty());
        }
    }

    void everyPrefixOfAWholeImageDecodesWithoutCrash()
    {
        FormatsWindow source;
        applyRichState(source.controls());
        const QByteArray stream = encodeWriteStream(source.controls(), source.form().shared);
        const QByteArray image = stream.mid(4, stream.size() - 6);
        FormatsWindow w;
        for (qsizetype n = 0; n <= image.size(); ++n) {
            // A detached copy, so that a read past its end is caught by the
            // sanitizer build.
            const QByteArray prefix(image.constData(), n);
            decode(w, prefix);
        }
        QCOMPARE(decode(w, image), QStringList());
        QCOMPARE(encodeWriteStream(w.controls(), w.form().shared), stream);
    }
};

QTEST_MAIN(SettingsImageDecodeTest)
#include "test_settings_image_decode.moc"
