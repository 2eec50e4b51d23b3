// Field encodings of the settings image that need no window.

#include "settings/image_bytes.h"

#include <QtTest>

using namespace zarven;

class SettingsImageBytesTest : public QObject {
    Q_OBJECT
private slots:
    void outputTimesAreHighByteFirst()
    {
        QCOMPARE(outputTimeBytes(150), QByteArray("\x00\x96", 2));
        QCOMPARE(outputTimeBytes(kAlwaysOnCode), QByteArray("\xFF\xDC", 2));
        QCOMPARE(outputTimeBytes(1090 * 60 + 59), QByteArray("\xFF\xB3", 2));
        QCOMPARE(outputTimeValue('\xFF', '\xB3'), quint16(65459));
        QCOMPARE(outputTimeValue('\x0A', '\x0D'), quint16(0x0A0D));
    }

    void outputTimeOfFollowsAssignmentThenAlwaysOn()
    {
        // Not assigned wins over everything, always-on over the times.
        QCOMPARE(outputTimeOf(false, true, 5, 5), kNotAssigned);
        QCOMPARE(outputTimeOf(true, true, 5, 5), kAlwaysOnCode);
        QCOMPARE(outputTimeOf(true, false, 2, 30), quint16(150));
        // Zero minutes and zero seconds cannot be told from "not assigned".
        QCOMPARE(outputTimeOf(true, false, 0, 0), kNotAssigned);
        QCOMPARE(outputTimeOf(true, false, 1090, 59), quint16(65459));
    }

    void temperaturesAreSignedBytes_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("byte");
        QTest::newRow("-55") << -55 << 0xC9;
        QTest::newRow("125") << 125 << 0x7D;
        QTest::newRow("0") << 0 << 0x00;
        QTest::newRow("-1") << -1 << 0xFF;
        QTest::newRow("-2") << -2 << 0xFE;
    }
    void temperaturesAreSignedBytes()
    {
        QFETCH(int, degrees);
        QFETCH(int, byte);
        QCOMPARE(byteValue(temperatureByte(degrees)), byte);
        QCOMPARE(temperatureFromByte(char(byte)), degrees);
    }

    void bytesFrom126UpReadAsNegative()
    {
        QCOMPARE(temperatureFromByte('\x7D'), 125);
        QCOMPARE(temperatureFromByte('\x7E'), -130);
        QCOMPARE(temperatureFromByte('\x31'), 49);
    }
};

QTEST_GUILESS_MAIN(SettingsImageBytesTest)
#include "test_settings_image_bytes.moc"
