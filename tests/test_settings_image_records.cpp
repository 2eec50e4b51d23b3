// Encoding: the bytes of every record kind and of the whole write stream,
// built from the window's controls.

#include "core/cp1251.h"
#include "formats_fixture.h"
#include "settings/image_encoder.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QByteArray kEightZeros(8, '\0');

} // namespace

class SettingsImageRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void inputRecordOfTheExample()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const QByteArray expected = bytes({0x01}) + toCp1251(QStringLiteral("Дверь"))
            + bytes({0x0D, 0x32, 0x31, 0x30, 0x00, 0x96, 0xFF, 0xDC, 0x00, 0x00, 0x00, 0x01});
        QCOMPARE(encodeInputRecord(w.controls(), 1), expected);
    }

    void disabledInputIsWrittenAsBlankRecord()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("Edit2"), QStringLiteral("Текст"));
        c.setIndex(QStringLiteral("CBox_IN2"), 1);
        c.setChecked(QStringLiteral("CB_ctrl_24_2"), true);
        c.setChecked(QStringLiteral("CheckBox_in2"), false);
        QCOMPARE(encodeInputRecord(c, 2), bytes({0x02, 0x20, 0x0D, 0x30, 0x30, 0x30}) + kEightZeros);
    }

    void inputTypesAreWrittenByTheWriteTable()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("Edit1"), QStringLiteral("A"));
        const char expected[] = {'1', '3', '2'};
        for (int entry = 0; entry < 3; ++entry) {
            c.setIndex(QStringLiteral("CBox_IN1"), entry);
            QCOMPARE(encodeInputRecord(c, 1).at(3), expected[entry]);
        }
        // An active input whose list lost its selection is written as the
        // entry activation gives it.
        c.setIndex(QStringLiteral("CBox_IN1"), -1);
        QCOMPARE(encodeInputRecord(c, 1).at(3), '1');
    }

    void messageIsCutTo25Characters()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("Edit1"), QString(25, QChar(u'Ж')));
        const QByteArray record = encodeInputRecord(c, 1);
        QCOMPARE(record.mid(1, 26), toCp1251(QString(25, QChar(u'Ж'))) + '\r');
        QCOMPARE(record.size(), 13 + 25);
        // A longer text, as a loaded file can leave it, is cut.
        c.setText(QStringLiteral("Edit1"), QString(30, QChar(u'Ж')));
        QCOMPARE(c.text(QStringLiteral("Edit1")).size(), 30);
        QCOMPARE(encodeInputRecord(c, 1), record);
    }

    void unusedOutputsGiveEightZeroBytes()
    {
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("Edit1"), QStringLiteral("A"));
        c.setChecked(QStringLiteral("RG_OUT11"), true);
        c.setChecked(QStringLiteral("CheckBox_11"), false);
        QCOMPARE(encodeInputRecord(c, 1).right(8), kEightZeros);
    }

    void outputTimes_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<bool>("alwaysOn");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("1090:59") << "1090" << "59" << false << bytes({0xFF, 0xB3});
        QTest::newRow("always on") << "7" << "7" << true << bytes({0xFF, 0xDC});
        QTest::newRow("0:00 reads as not assigned") << "0" << "0" << false << bytes({0x00, 0x00});
        QTest::newRow("0:10") << "0" << "10" << false << bytes({0x00, 0x0A});
        // A box whose text is not a number is written as it reads: its
        // lowest value; a number beyond its range as the nearer bound.
        QTest::newRow("empty seconds") << "5" << "" << false << bytes({0x01, 0x2C});
        QTest::newRow("minus sign only") << "-" << "30" << false << bytes({0x00, 0x1E});
        QTest::newRow("75 seconds") << "1" << "75" << false << bytes({0x00, 0x77});
    }
    void outputTimes()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(bool, alwaysOn);
        QFETCH(QByteArray, expected);
        FormatsWindow w;
        auto &c = w.controls();
        c.setText(QStringLiteral("Edit1"), QStringLiteral("A"));
        c.setChecked(QStringLiteral("RG_OUT13"), true);
        c.setChecked(QStringLiteral("CheckBox113"), alwaysOn);
        c.setText(QStringLiteral("Edit_OUT13m"), minutes);
        c.setText(QStringLiteral("Edit_OUT13s"), seconds);
        QCOMPARE(encodeInputRecord(c, 1).right(2), expected);
    }

    void thermostatRecord()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        // Sensor 1 with keeping; sensor 2 disabled, whatever its boxes show.
        c.setText(QStringLiteral("SE_min_td2"), QStringLiteral("20"));
        QCOMPARE(encodeThermostatRecord(c),
                 bytes({'#', '1', 0xC9, 0x7D, '1', 18, 22, '1', '3'}) + QByteArray("01101100") + '\r');

        // An enabled sensor without keeping; the keeping output without a
        // selection.
        c.setChecked(QStringLiteral("CheckBox_td2"), true);
        c.setText(QStringLiteral("SE_min_td2"), QStringLiteral("-2"));
        c.setText(QStringLiteral("SE_max_td2"), QStringLiteral("-1"));
        c.setChecked(QStringLiteral("CheckBox_td21"), false);
        c.setChecked(QStringLiteral("CheckBox_td11"), true);
        c.setIndex(QStringLiteral("CB_td1_out"), -1);
        const QByteArray record = encodeThermostatRecord(c);
        QCOMPARE(record.mid(8, 1), QByteArray("0"));
        QCOMPARE(record.mid(9), bytes({'1', 0xFE, 0xFF}) + QByteArray("01100") + '\r');
    }

    void telephoneRecord()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        QCOMPARE(encodeTelephoneRecord(c),
                 QByteArray("\x11" "79161234567/12345678901234/7/7/380441234567/\r"));
    }

    void optionsRecordOfTheRichState()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        QCOMPARE(encodeOptionsRecord(w.controls()), QByteArray("!21011101031021\r"));
    }

    void eachOptionsField_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value"); // a check box: 0 or 1; a list: entry
        QTest::addColumn<int>("position");
        QTest::addColumn<char>("expected");
        QTest::newRow("level Высокий") << "CBox_INPUT" << 0 << 1 << '1';
        QTest::newRow("level Низкий") << "CBox_INPUT" << 1 << 1 << '2';
        QTest::newRow("level Touch Memory") << "CBox_INPUT" << 2 << 1 << '3';
        QTest::newRow("level none") << "CBox_INPUT" << -1 << 1 << '3';
        const char *flags[] = {"CheckBox_SMS_in", "CheckBox_SMS_out", "CheckBox_Audio", "CB_Ctrl_Volt",
                               "CB_vnesh_IBP", "CB_Time_SMS", "CB_mic_dinam", "CB_sms_sost"};
        for (int k = 0; k < 8; ++k) {
            QTest::addRow("%s on", flags[k]) << flags[k] << 1 << 2 + k << '1';
            QTest::addRow("%s off", flags[k]) << flags[k] << 0 << 2 + k << '0';
        }
        for (int entry = 0; entry <= 4; ++entry)
            QTest::addRow("output at arming %d", entry) << "CB_on_output_in" << entry << 10 << char('0' + entry);
        QTest::newRow("output at arming none") << "CB_on_output_in" << -1 << 10 << '0';
        QTest::newRow("alarm SMS") << "CB_Alarm_SMS" << 1 << 11 << '1';
        QTest::newRow("alarm call") << "CB_Alarm_Ring" << 0 << 12 << '0';
        QTest::newRow("state output LED") << "RadioGroup1" << 0 << 13 << '1';
        QTest::newRow("state output external") << "RadioGroup1" << 1 << 13 << '2';
        QTest::newRow("state output none") << "RadioGroup1" << -1 << 13 << '1';
        QTest::newRow("SMS to all") << "CheckBox_SMS_All" << 1 << 14 << '1';
    }
    void eachOptionsField()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(int, position);
        QFETCH(char, expected);
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        if (control.startsWith(QLatin1String("CBox")) || control.startsWith(QLatin1String("CB_on"))
            || control.startsWith(QLatin1String("Radio")))
            c.setIndex(control, value);
        else
            c.setChecked(control, value == 1);
        const QByteArray record = encodeOptionsRecord(c);
        QCOMPARE(record.size(), 16);
        QCOMPARE(record.at(position), expected);
    }

    void dateTimeRecordGivesAOneDigitHourItsZero()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        QCOMPARE(encodeDateTimeRecord(c), QByteArray("\x1C" "24.12.25;09:05:07\r"));
        c.setText(QStringLiteral("Edit_time"), QStringLiteral("19:05:07"));
        QCOMPARE(encodeDateTimeRecord(c), QByteArray("\x1C" "24.12.25;19:05:07\r"));
        // Texts too short for the record are carried as they are.
        c.setText(QStringLiteral("Edit_time"), QStringLiteral("9"));
        c.setText(QStringLiteral("Edit_Date"), QString());
        QCOMPARE(encodeDateTimeRecord(c), QByteArray("\x1C;9\r"));
    }

    void delayRecord()
    {
        FormatsWindow w;
        auto &c = w.controls();
        applyRichState(c);
        QCOMPARE(encodeDelayRecord(c), bytes({'$', 30, 250}) + QByteArray("1011\r"));
    }

    void writeStreamOfTheRichStateMatchesTheGoldenFile()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const QByteArray stream = encodeWriteStream(w.controls(), w.form().shared);
        QCOMPARE(stream, readFileBytes(testDataPath(QStringLiteral("settings_rich.image"))));
    }

    void writeStreamComesInElevenPiecesInRecordOrder()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const auto &c = w.controls();
        const auto &shared = w.form().shared;
        QCOMPARE(encodeWritePiece(c, shared, 1), bytes({0xFE, 0xFF, 0x99, 0x99}));
        QCOMPARE(encodeWritePiece(c, shared, 11), bytes({0xFF, 0xFE}));
        const char types[] = {0x01, 0x02, 0x03, 0x04, '#', 0x11, '!', 0x1C, '$'};
        QByteArray joined;
        for (int piece = 1; piece <= kWritePieces; ++piece) {
            const QByteArray p = encodeWritePiece(c, shared, piece);
            if (piece >= 2 && piece <= 10)
                QCOMPARE(p.at(0), types[piece - 2]);
            joined += p;
        }
        QCOMPARE(joined, encodeWriteStream(c, shared));
    }

    void longestStreamIs296Bytes()
    {
        FormatsWindow w;
        auto &c = w.controls();
        for (int input = 1; input <= 4; ++input) {
            c.setChecked(QStringLiteral("CheckBox_in%1").arg(input), true);
            c.setText(QStringLiteral("Edit%1").arg(input), QString(25, QLatin1Char('x')));
        }
        for (int k = 1; k <= 5; ++k)
            c.setText(QStringLiteral("ME_tel%1").arg(k), QStringLiteral("+12345678901234"));
        c.setChecked(QStringLiteral("CheckBox4"), false);
        c.setText(QStringLiteral("Edit_Date"), QStringLiteral("01.01.25"));
        c.setText(QStringLiteral("Edit_time"), QStringLiteral("10:00:00"));
        QCOMPARE(encodeWriteStream(c, w.form().shared).size(), 296);
    }
};

QTEST_MAIN(SettingsImageRecordsTest)
#include "test_settings_image_records.moc"
