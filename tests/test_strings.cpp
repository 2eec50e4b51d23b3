#include "core/cp1251.h"
#include "core/errors.h"
#include "core/strings.h"

#include <QtTest>

using namespace zarven;

class StringsTest : public QObject {
    Q_OBJECT
private slots:
    void phoneDigits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("digits");
        QTest::newRow("eleven digits and blanks") << QStringLiteral("+79161234567   ") << QStringLiteral("79161234567");
        QTest::newRow("only plus") << QStringLiteral("+") << QStringLiteral("7");
        QTest::newRow("empty box") << QString() << QStringLiteral("7");
        QTest::newRow("blanks trimmed both ends") << QStringLiteral("+  123\t") << QStringLiteral("123");
        QTest::newRow("inner blank: digits in order") << QStringLiteral("+7916 123") << QStringLiteral("7916123");
        QTest::newRow("mask blanks are not digits") << QStringLiteral("+7916___") << QStringLiteral("7");
        QTest::newRow("reset text") << QStringLiteral("8-   -   -  -  ") << QStringLiteral("7");
        QTest::newRow("first character dropped whatever it is") << QStringLiteral("8123") << QStringLiteral("123");
        QTest::newRow("non-ASCII digit") << QStringLiteral("+7٣") << QStringLiteral("7");
    }
    void phoneDigits()
    {
        QFETCH(QString, box);
        QFETCH(QString, digits);
        QCOMPARE(PhoneDigits(box), digits);
    }

    void hexRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = BytesToHex(all);
        QCOMPARE(text.size(), 512);
        QVERIFY(text.startsWith(QStringLiteral("000102")));
        QVERIFY(text.endsWith(QStringLiteral("FDFEFF")));
        QCOMPARE(HexToBytes(text), all);
        QCOMPARE(HexToBytes(text.toLower()), all);
        QCOMPARE(BytesToHex(QByteArray::fromHex("0AFF00")), QStringLiteral("0AFF00"));
        QCOMPARE(BytesToHex(QByteArray()), QString());
    }

    void hexDigitValueOfEveryCharacterKind()
    {
        const QString digits = QStringLiteral("0123456789ABCDEF");
        for (int v = 0; v < 16; ++v) {
            QCOMPARE(hexDigitValue(digits[v]), v);
            QCOMPARE(hexDigitValue(digits[v].toLower()), v);
        }
        for (const QChar c : QStringLiteral(" :-/@G`gx\u0660\uFF10"))
            QCOMPARE(hexDigitValue(c), -1);
    }

    void hexToBytesOddLengths()
    {
        QCOMPARE(HexToBytes(QString()), QByteArray());
        QCOMPARE(HexToBytes(QStringLiteral("A")), QByteArray(1, '\x0A'));
        QCOMPARE(HexToBytes(QStringLiteral("0AF")), QByteArray(1, '\x0A'));
        QCOMPARE(WithPlus(QStringLiteral("7916")), QStringLiteral("+7916"));
    }

    void hexToBytesRejectsNonHexDigits()
    {
        try {
            HexToBytes(QStringLiteral("0G"));
            QFAIL("no error raised");
        } catch (const ConversionError &e) {
            QCOMPARE(e.message(), QStringLiteral("'$0G' is not a valid integer value"));
        }
        QVERIFY_THROWS_EXCEPTION(ConversionError, HexToBytes(QStringLiteral("Z")));
    }

    void integerConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QStringLiteral("17") << true << 17;
        QTest::newRow("leading blanks") << QStringLiteral("  42") << true << 42;
        QTest::newRow("plus sign") << QStringLiteral("+5") << true << 5;
        QTest::newRow("minus sign") << QStringLiteral("-55") << true << -55;
        QTest::newRow("dollar hex") << QStringLiteral("$1F") << true << 31;
        QTest::newRow("0x hex") << QStringLiteral("0x10") << true << 16;
        QTest::newRow("0X hex") << QStringLiteral("0X10") << true << 16;
        QTest::newRow("x hex") << QStringLiteral("xff") << true << 255;
        QTest::newRow("negative hex") << QStringLiteral("-$10") << true << -16;
        QTest::newRow("max") << QStringLiteral("2147483647") << true << 2147483647;
        QTest::newRow("min") << QStringLiteral("-2147483648") << true << int(-2147483648LL);
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("sign only") << QStringLiteral("-") << false << 0;
        QTest::newRow("trailing blank") << QStringLiteral("17 ") << false << 0;
        QTest::newRow("trailing comma") << QStringLiteral("5,") << false << 0;
        QTest::newRow("letters") << QStringLiteral("Q:") << false << 0;
        QTest::newRow("overflow") << QStringLiteral("2147483648") << false << 0;
        QTest::newRow("dollar alone") << QStringLiteral("$") << false << 0;
    }
    void integerConversion()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = TryStrToInt(text);
        QCOMPARE(v.has_value(), ok);
        if (ok) {
            QCOMPARE(*v, value);
            QCOMPARE(StrToInt(text), value);
        } else {
            try {
                StrToInt(text);
                QFAIL("no error raised");
            } catch (const ConversionError &e) {
                QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
            }
        }
    }

    void errorReportAppendsFullStopOnlyAfterLettersAndDigits()
    {
        QCOMPARE(errorReportText(QStringLiteral("Registry error")), QStringLiteral("Registry error."));
        QCOMPARE(errorReportText(QStringLiteral("Done.")), QStringLiteral("Done."));
        QCOMPARE(errorReportText(QStringLiteral("Ошибка")), QStringLiteral("Ошибка."));
        QCOMPARE(errorReportText(QStringLiteral("(code 5)")), QStringLiteral("(code 5)"));
        QCOMPARE(errorReportText(QString()), QString());
    }

    void cp1251CoversRussianAndRoundTripsEveryByte()
    {
        const QString russian = QStringLiteral("Конфигуратор ЗАРВЕН-4 ёЁ №");
        const QByteArray bytes = toCp1251(russian);
        QCOMPARE(bytes.size(), russian.size());
        QCOMPARE(bytes.left(2), QByteArray("\xCA\xEE"));
        QCOMPARE(toCp1251(QStringLiteral("ё№")), QByteArray("\xB8\xB9"));
        QCOMPARE(fromCp1251(bytes), russian);
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(toCp1251(fromCp1251(all)), all);
        QCOMPARE(fromCp1251(QByteArray("\0a", 2)).size(), 2);
    }

    void cp1251MarksUnencodableCharacters()
    {
        QCOMPARE(toCp1251(QStringLiteral("a€中")), QByteArray("a\x88?"));
    }
};

QTEST_GUILESS_MAIN(StringsTest)
#include "test_strings.moc"
