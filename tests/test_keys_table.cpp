// The key table's byte formats without a window: the table reply parser, the
// key table stream and its checks, the stop rule of replies of known length,
// and key files.

#include "core/cp1251.h"
#include "file_bytes.h"
#include "keys/key_file.h"
#include "keys/key_reply_stop.h"
#include "keys/key_table.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;

Q_DECLARE_METATYPE(zarven::KnownLength)

namespace {

QByteArray record(const QByteArray &description, const QByteArray &code)
{
    return description + QByteArray(kKeyDescriptionBytes - description.size(), '\0') + code
        + QByteArray(kKeyCodeBytes - code.size(), '\0');
}

KeyRows stale()
{
    KeyRows rows;
    for (int r = 0; r < kKeyRowCount; ++r)
        rows[r] = {QStringLiteral("old %1").arg(r + 1), QStringLiteral("AA")};
    return rows;
}

const KnownLength kCode{kKeyCodeBytes, 0};
const KnownLength kTable{kKeyTableBytes, kKeyRecordBytes};

const QByteArray kStart("\xFE\xFF", 2);
const QByteArray kStop("\xFF\xFE", 2);

} // namespace

class KeyTableTest : public QObject {
    Q_OBJECT
private slots:
    void tableReplyFillsRowsFromRowOne_data();
    void tableReplyFillsRowsFromRowOne();
    void everyPrefixOfATableParsesWithoutHarm();
    void keyCodeReplyTakesTheFirstEightBytes();
    void recordsAreBuiltFromTheGrid_data();
    void recordsAreBuiltFromTheGrid();
    void checkRefusesWhatTheControllerCannotTake_data();
    void checkRefusesWhatTheControllerCannotTake();
    void knownLengthStopKeepsInnerMarkers_data();
    void knownLengthStopKeepsInnerMarkers();
    void keyFileSaveAndLoadKeepTenRowsExactly();
    void originalSevenKeyFileLoads();
    void keyFileLoaderRules_data();
    void keyFileLoaderRules();
    void savedNameEndsWithKeyOnce();
};

void KeyTableTest::tableReplyFillsRowsFromRowOne_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("rowsTouched"); // rows whose description changed
    QTest::addColumn<QString>("desc1");
    QTest::addColumn<QString>("code1");

    QByteArray full = record("Office", QByteArray::fromHex("0102030405060708"));
    for (int k = 1; k < kKeyRowCount; ++k)
        full += record("K" + QByteArray::number(k), QByteArray(8, char(k)));
    QTest::newRow("Office, full table") << full << 250 << 10 << "Office" << "0102030405060708";
    QTest::newRow("eleven records: the last ignored") << full + record("Extra", "12345678") << 250 << 10 << "Office"
                                                      << "0102030405060708";
    QTest::newRow("30 bytes: row 1 only") << full.left(30) << 25 << 1 << "Office" << "0102030405060708";
    QTest::newRow("20 bytes: description without code") << full.left(20) << 17 << 1 << "Office" << "AA";
    QTest::newRow("space-led, 00 inside") << record(QByteArray("  In\0ner ", 9), "\xFF\xFE") << 25 << 1
                                          << QString::fromUtf8("In\0ner", 6) << "FFFE000000000000";
    QTest::newRow("cp1251 text") << record(toCp1251(QStringLiteral("Дверь")), "") << 25 << 1 << "Дверь"
                                 << "0000000000000000";
    QTest::newRow("empty") << QByteArray() << 0 << 0 << "old 1" << "AA";
}

void KeyTableTest::tableReplyFillsRowsFromRowOne()
{
    QFETCH(QByteArray, reply);
    KeyRows rows = stale();
    QTEST(parseKeyTable(reply, rows), "used");
    QTEST(rows[0].description, "desc1");
    QTEST(rows[0].code, "code1");
    int touched = 0;
    for (int r = 0; r < kKeyRowCount; ++r)
        touched += rows[r].description != stale()[r].description ? 1 : 0;
    QTEST(touched, "rowsTouched");
}

void KeyTableTest::everyPrefixOfATableParsesWithoutHarm()
{
    const QByteArray table = QByteArray(250, '\xFF');
    for (qsizetype n = 0; n <= table.size(); ++n) {
        KeyRows rows = stale();
        const int used = parseKeyTable(table.left(n), rows);
        QCOMPARE(qsizetype(used), (n / kKeyRecordBytes) * kKeyRecordBytes
                                      + (n % kKeyRecordBytes >= kKeyDescriptionBytes ? kKeyDescriptionBytes : 0));
        // Rows beyond the reply keep their texts.
        const int reached = int(n / kKeyRecordBytes) + (n % kKeyRecordBytes >= kKeyDescriptionBytes ? 1 : 0);
        for (int r = reached; r < kKeyRowCount; ++r)
            QCOMPARE(rows[r], stale()[r]);
    }
}

void KeyTableTest::keyCodeReplyTakesTheFirstEightBytes()
{
    QCOMPARE(keyCodeText(QByteArray::fromHex("0102030405060708")), QStringLiteral("0102030405060708"));
    QCOMPARE(keyCodeText(QByteArray::fromHex("01020304050607080910AABB")), QStringLiteral("0102030405060708"));
    QCOMPARE(keyCodeText(QByteArray::fromHex("0AFF00")), QStringLiteral("0AFF00"));
    QCOMPARE(keyCodeText(QByteArray()), QString());
}

void KeyTableTest::recordsAreBuiltFromTheGrid_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("Дверь") << "Дверь" << "0123456789ABCDEF"
                           << record(toCp1251(QStringLiteral("Дверь")), QByteArray::fromHex("0123456789ABCDEF"));
    QTest::newRow("20 characters: first 16") << "ABCDEFGHIJKLMNOPQRST" << ""
                                             << record("ABCDEFGHIJKLMNOP", "");
    QTest::newRow("leading spaces dropped") << "  Gate" << " 01 " << record("Gate", "\x01");
    QTest::newRow("15 digits: 7 bytes") << "K" << "0123456789ABCDE" << record("K", QByteArray::fromHex("0123456789ABCD"));
    QTest::newRow("18 digits: 8 bytes") << "K" << "0123456789ABCDEF12" << record("K", QByteArray::fromHex("0123456789ABCDEF"));
    QTest::newRow("description, empty code") << "K" << "" << record("K", "");
    QTest::newRow("empty row") << "" << "" << QByteArray(25, '\0');
    QTest::newRow("lower case without description") << "" << "0a0b" << record("", "\x0A\x0B");
}

void KeyTableTest::recordsAreBuiltFromTheGrid()
{
    QFETCH(QString, description);
    QFETCH(QString, code);
    QFETCH(QByteArray, record);
    KeyRows rows;
    rows[9] = {description, code};
    const QByteArray stream = keyTableStream(rows, kStart, kStop);
    QCOMPARE(stream.size(), 2 + 250 + 2);
    QCOMPARE(stream.left(2), kStart);
    QCOMPARE(stream.right(2), kStop);
    QCOMPARE(stream.mid(2, 225), QByteArray(225, '\0'));
    QCOMPARE(stream.mid(2 + 225, 25), record);
}

void KeyTableTest::checkRefusesWhatTheControllerCannotTake_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("nextDescription");
    QTest::addColumn<int>("fault"); // -1 none, else KeyTableFault::Kind
    QTest::addColumn<int>("faultRow");
    QTest::addColumn<int>("nextRow");

    QTest::newRow("upper-case hex") << 3 << "Door" << "0123456789ABCDEF" << "" << -1 << 0 << 0;
    QTest::newRow("lower case with description") << 3 << "Door" << "0123456789abcdef" << "" << 0 << 3 << 0;
    QTest::newRow("lower case without description") << 3 << "  " << "0123456789abcdef" << "" << -1 << 0 << 0;
    QTest::newRow("not hex without description") << 3 << "" << "12G4" << "" << 0 << 3 << 0;
    QTest::newRow("inner blank with description") << 10 << "Door" << "01 02" << "" << 0 << 10 << 0;
    QTest::newRow("FF FE in a code") << 4 << "Door" << "01FFFE" << "" << 1 << 4 << 0;
    QTest::newRow("FF FE in a description") << 5 << "Каяюта" << "" << "" << 1 << 5 << 0;
    QTest::newRow("FF FE across two records") << 6 << "Door" << "00000000000000FF" << "юг" << 1 << 6 << 7;
    QTest::newRow("FF then FF FE only in the stop") << 10 << "Door" << "00000000000000FF" << "" << -1 << 0 << 0;
}

void KeyTableTest::checkRefusesWhatTheControllerCannotTake()
{
    QFETCH(int, row);
    QFETCH(QString, description);
    QFETCH(QString, code);
    QFETCH(QString, nextDescription);
    QFETCH(int, fault);
    QFETCH(int, faultRow);
    KeyRows rows;
    rows[row - 1] = {description, code};
    if (row < kKeyRowCount)
        rows[row].description = nextDescription;
    const auto found = checkKeyTable(rows);
    if (fault < 0) {
        QVERIFY(!found);
        QCOMPARE(keyTableStream(rows, kStart, kStop).indexOf(kStop), 2 + 250);
    } else {
        QVERIFY(found);
        QCOMPARE(int(found->kind), fault);
        QCOMPARE(found->row, faultRow);
        QTEST(found->nextRow, "nextRow");
    }
}

void KeyTableTest::knownLengthStopKeepsInnerMarkers_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<KnownLength>("reply");
    QTest::addColumn<qsizetype>("cut");      // before the quiet gap
    QTest::addColumn<qsizetype>("quietCut"); // after it

    const QByteArray code = QByteArray::fromHex("01FFFE0405060708");
    const QByteArray half(125, 'a');
    QTest::newRow("code holding FF FE arrives whole") << kStart + code + kStop << kCode << qsizetype(12) << qsizetype(12);
    QTest::newRow("code holding FF FE FE FF") << kStart + QByteArray::fromHex("01FFFEFEFF040506") + kStop << kCode
                                              << qsizetype(12) << qsizetype(12);
    QTest::newRow("inner marker, more bytes follow") << kStart + code.left(4) << kCode << qsizetype(0) << qsizetype(5);
    QTest::newRow("inner marker ends the buffer") << kStart + code.left(3) << kCode << qsizetype(0) << qsizetype(5);
    QTest::newRow("short reply then quiet") << kStart + "OK" + kStop << kCode << qsizetype(0) << qsizetype(6);
    QTest::newRow("short code, then CR LF") << kStart + "\x01\x02\x03" + kStop + "\r\n" << kCode << qsizetype(0)
                                            << qsizetype(7);
    QTest::newRow("short code, a start marker follows") << kStart + "OK" + kStop + kStart + "x" << kCode << qsizetype(0)
                                                        << qsizetype(6);
    QTest::newRow("no known length: markers decide") << kStart + "OK" + kStop << KnownLength{} << qsizetype(-1) << qsizetype(-1);
    QTest::newRow("table with FF FE at its end") << kStart + QByteArray(248, 'a') + kStop + kStop << kTable
                                                 << qsizetype(254) << qsizetype(254);
    QTest::newRow("two packets back to back") << kStart + half + kStop + kStart + half + kStop << kTable
                                              << qsizetype(129) << qsizetype(129);
    QTest::newRow("two packets, a byte between") << kStart + half + kStop + '\0' + kStart + half + kStop << kTable
                                                 << qsizetype(129) << qsizetype(129);
    QTest::newRow("two packets, CR LF between") << kStart + half + kStop + "\r\n" + kStart + half << kTable
                                                << qsizetype(129) << qsizetype(129);
    QTest::newRow("boundary marker, a stop comes first") << kStart + half + kStop + "x" + kStop + kStart << kTable
                                                         << qsizetype(0) << qsizetype(132);
    QTest::newRow("marker inside a record, a start follows") << kStart + QByteArray(30, 'a') + kStop + kStart << kTable
                                                             << qsizetype(0) << qsizetype(34);
    QTest::newRow("30-byte table, then CR LF") << kStart + QByteArray(30, 'a') + kStop + "\r\n" << kTable << qsizetype(0)
                                               << qsizetype(34);
}

void KeyTableTest::knownLengthStopKeepsInnerMarkers()
{
    QFETCH(QByteArray, buffer);
    QFETCH(KnownLength, reply);
    QTEST(knownLengthStop(buffer, kStart, kStop, reply, false), "cut");
    QTEST(knownLengthStop(buffer, kStart, kStop, reply, true), "quietCut");
}

void KeyTableTest::keyFileSaveAndLoadKeepTenRowsExactly()
{
    KeyRows rows;
    for (int r = 0; r < kKeyRowCount; ++r)
        rows[r] = {QStringLiteral(" Ключ %1 ").arg(r + 1), QStringLiteral("0123456789ABCD%1").arg(r, 2, 10, QLatin1Char('0'))};
    rows[4] = {};
    rows[9] = {QStringLiteral("#2"), QStringLiteral("/3")};
    const QByteArray file = keyFileContent(rows);
    QCOMPARE(file.count("\r\n"), 40);
    QVERIFY(file.startsWith("#1\r\n " + toCp1251(QStringLiteral("Ключ 1 ")) + "\r\n0123456789ABCD00\r\n/1\r\n"));
    QVERIFY(file.endsWith("/9\r\n#10\r\n#2\r\n/3\r\n/10\r\n"));
    KeyRows loaded = stale();
    QVERIFY(loadKeyFile(file, loaded).ok);
    QCOMPARE(loaded, rows);

    // Line and file ends inside a text are written as blanks.
    KeyRows odd;
    odd[0] = {QStringLiteral("a\nb\rc\x1A" "d"), QStringLiteral("01")};
    KeyRows back;
    QVERIFY(loadKeyFile(keyFileContent(odd), back).ok);
    QCOMPARE(back[0].description, QStringLiteral("a b c d"));
    QCOMPARE(back[1], KeyRow{});
}

void KeyTableTest::originalSevenKeyFileLoads()
{
    KeyRows rows = stale();
    QVERIFY(loadKeyFile(readFileBytes(QStringLiteral(ZARVEN_TEST_DATA "/original_layout.key")), rows).ok);
    QCOMPARE(rows[0], (KeyRow{QStringLiteral("Master"), QStringLiteral("015A3C1E0B000095")}));
    QCOMPARE(rows[2], KeyRow{});
    QCOMPARE(rows[5], (KeyRow{QStringLiteral("  Gate "), QStringLiteral("0000000000000001")}));
    for (int r = 7; r < kKeyRowCount; ++r)
        QCOMPARE(rows[r], stale()[r]);
}

void KeyTableTest::keyFileLoaderRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("errorLine"); // 0: read to the end
    QTest::addColumn<int>("row");       // the row to look at
    QTest::addColumn<QString>("description");

    QTest::newRow("#01 fills row 1") << QByteArray("#01\r\nA\r\n01\r\n/1\r\n") << 0 << 1 << "A";
    QTest::newRow("#11 passed over") << QByteArray("#11\r\nA\r\n01\r\n") << 0 << 1 << "old 1";
    QTest::newRow("#12 read as 12") << QByteArray("#123\r\nA\r\n") << 0 << 1 << "old 1";
    QTest::newRow("three lines only") << QByteArray("#2\r\nB\r\n0123456789ABCDEF") << 0 << 2 << "B";
    QTest::newRow("ends after #") << QByteArray("#3\r\n") << 0 << 3 << "";
    QTest::newRow("LF line ends") << QByteArray("#4\nD\n01\n") << 0 << 4 << "D";
    QTest::newRow("# alone") << QByteArray("#1\r\nA\r\n01\r\n#\r\n") << 4 << 1 << "A";
    QTest::newRow("letter after #") << QByteArray("#a\r\n") << 1 << 1 << "old 1";
    QTest::newRow("blank after digit") << QByteArray("#2 \r\n") << 1 << 2 << "old 2";
    QTest::newRow("blank before the digit") << QByteArray("# 2\r\nB\r\n01\r\n") << 0 << 2 << "B";
    QTest::newRow("negative number passed over") << QByteArray("#-1\r\nA\r\n") << 0 << 1 << "old 1";
    QTest::newRow("empty line") << QByteArray("#1\r\nA\r\n01\r\n/1\r\n\r\n#2\r\nB\r\n") << 5 << 2 << "old 2";
}

void KeyTableTest::keyFileLoaderRules()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    KeyRows rows = stale();
    const KeyFileLoad load = loadKeyFile(file, rows);
    QTEST(load.ok ? 0 : load.errorLine, "errorLine");
    QTEST(rows[row - 1].description, "description");
}

void KeyTableTest::savedNameEndsWithKeyOnce()
{
    QCOMPARE(keyFileName(QStringLiteral("/t/keys")), QStringLiteral("/t/keys.key"));
    QCOMPARE(keyFileName(QStringLiteral("/t/keys.key")), QStringLiteral("/t/keys.key"));
    QCOMPARE(keyFileName(QStringLiteral("/t/KEYS.Key")), QStringLiteral("/t/KEYS.Key"));
    QCOMPARE(keyFileName(QStringLiteral("/t/keys.key.bak")), QStringLiteral("/t/keys.key.bak.key"));
}

QTEST_GUILESS_MAIN(KeyTableTest)
#include "test_keys_table.moc"
