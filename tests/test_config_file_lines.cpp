// Line reading of configuration files, raw output-time lines included.

#include "config_file/config_lines.h"

#include <QtTest>

using namespace zarven;

namespace {

QList<QByteArray> readAll(const QByteArray &content)
{
    ConfigLineReader reader(content);
    QList<QByteArray> lines;
    while (!reader.atEnd())
        lines << reader.readLine();
    return lines;
}

} // namespace

class ConfigFileLinesTest : public QObject {
    Q_OBJECT
private slots:
    void linesEndAtLineFeedWithOrWithoutCarriageReturn()
    {
        QCOMPARE(readAll("a\r\nb\nc"), (QList<QByteArray>{"a", "b", "c"}));
        QCOMPARE(readAll("\r\n\r\n"), (QList<QByteArray>{"", ""}));
    }

    void loneCarriageReturnIsDropped()
    {
        QCOMPARE(readAll("ab\rcd\r\nx\r"), (QList<QByteArray>{"abcd", "x"}));
    }

    void byte1AEndsTheFile()
    {
        QCOMPARE(readAll(QByteArray("one\r\ntw\x1Ao\r\nthree\r\n")), (QList<QByteArray>{"one", "tw"}));
        QCOMPARE(readAll(QByteArray("\x1A" "#40\r\n1\r\n")), QList<QByteArray>{});
    }

    void byte1AInALineEndsTheFileForOutputTimeLinesToo()
    {
        // What follows the 1A is no longer the file, even where it has the
        // shape of an output-time line.
        static const char raw[] = "ab\x1A" "x\r\n\x00\x05\r\n";
        const QByteArray content(raw, sizeof raw - 1);
        ConfigLineReader reader(content);
        QCOMPARE(reader.readLine(), QByteArray("ab"));
        QVERIFY(reader.atEnd());
        QCOMPARE(reader.readOutputTimeLine(), QByteArray());
        QCOMPARE(reader.readOutputTimeLine(), QByteArray());
        QVERIFY(reader.atEnd());
    }

    void readingPastTheEndGivesEmptyLines()
    {
        const QByteArray content("last");
        ConfigLineReader reader(content);
        QCOMPARE(reader.readLine(), QByteArray("last"));
        QVERIFY(reader.atEnd());
        QCOMPARE(reader.readLine(), QByteArray());
        QCOMPARE(reader.readOutputTimeLine(), QByteArray());
    }

    void outputTimeLinesTakeTheirTwoBytesWhateverTheyAre_data()
    {
        QTest::addColumn<QByteArray>("pair");
        QTest::newRow("00 0A") << QByteArray("\x00\x0A", 2);
        QTest::newRow("00 0D") << QByteArray("\x00\x0D", 2);
        QTest::newRow("00 1A") << QByteArray("\x00\x1A", 2);
        QTest::newRow("0A 00") << QByteArray("\x0A\x00", 2);
        QTest::newRow("0D 0A") << QByteArray("\x0D\x0A", 2);
        QTest::newRow("1A 1A") << QByteArray("\x1A\x1A", 2);
        QTest::newRow("FF DC") << QByteArray("\xFF\xDC", 2);
    }
    void outputTimeLinesTakeTheirTwoBytesWhateverTheyAre()
    {
        QFETCH(QByteArray, pair);
        const QByteArray content = pair + "\r\n" + pair + "\r\n//#01\r\n";
        ConfigLineReader reader(content);
        QCOMPARE(reader.readOutputTimeLine(), pair);
        QCOMPARE(reader.readOutputTimeLine(), pair);
        QCOMPARE(reader.readLine(), QByteArray("//#01"));
        QVERIFY(reader.atEnd());
    }

    void outputTimeLineOfAnotherShapeIsReadAsALine()
    {
        static const char raw[] = "\x05\r\nabc\r\n\x01\x02\x03\r\n";
        const QByteArray content(raw, sizeof raw - 1);
        ConfigLineReader reader(content);
        QCOMPARE(reader.readOutputTimeLine(), QByteArray("\x05"));
        QCOMPARE(reader.readOutputTimeLine(), QByteArray("abc"));
        QCOMPARE(reader.readOutputTimeLine(), QByteArray("\x01\x02\x03"));
        QVERIFY(reader.atEnd());
    }

    void everyPrefixReadsWithoutOverrun()
    {
        static const char raw[] = "#01\r\nText\r\n0\r\n1\r\n0\r\n\x00\x0A\r\n\x0D\x0A\r\n\x1A\x00\r\n\xFF\xDC\r\n";
        const QByteArray content(raw, sizeof raw - 1);
        for (qsizetype n = 0; n <= content.size(); ++n) {
            const QByteArray prefix = content.left(n);
            ConfigLineReader reader(prefix);
            for (int i = 0; i < 12; ++i) {
                if (i >= 5 && i < 9)
                    reader.readOutputTimeLine();
                else
                    reader.readLine();
            }
            QVERIFY(reader.atEnd());
        }
    }
};

QTEST_GUILESS_MAIN(ConfigFileLinesTest)
#include "test_config_file_lines.moc"
