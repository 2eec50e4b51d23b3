// The sites table of a series: its file (separator and encoding detected),
// the values each kind of field takes, and the checks before anything is
// written.

#include "core/cp1251.h"
#include "editor_fixture.h"
#include "file_bytes.h"
#include "settings/control_access.h"
#include "provision/series_report.h"
#include "provision/site_table.h"
#include "provision/site_values.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class ProvisionTableTest : public QObject {
    Q_OBJECT
private slots:
    void valuesAreTakenAsTheWindowTakesThem_data();
    void valuesAreTakenAsTheWindowTakesThem();
    void tableFilesReadAndWriteBack_data();
    void tableFilesReadAndWriteBack();
    void tableCheckNamesLineAndColumn();
    void columnsComeFromTheCatalogue();
    void reportKeepsEveryAttemptAndTheLastCounts();
    void rowOnThePanelsEncodesAsTheWindowWould();
};

void ProvisionTableTest::valuesAreTakenAsTheWindowTakesThem_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, const char *column, const QString &cell, bool taken, int number = 0,
                  const QString &text = {}) {
        QTest::newRow(name) << QString::fromLatin1(column) << cell << taken << number << text;
    };
    row("flag yes", "input1.active", QStringLiteral("да"), true, 1);
    row("flag 0", "input1.active", QStringLiteral("0"), true, 0);
    row("flag other", "input1.active", QStringLiteral("2"), false);
    row("list caption", "input2.type", QStringLiteral("нормально замкнутый нз"), true, 2);
    row("list number", "arming.level", QStringLiteral("3"), true, 2);
    row("list beyond", "arming.level", QStringLiteral("4"), false);
    row("list none", "arming.output", QStringLiteral("1"), true, 0);
    row("temperature low", "sensor1.min", QStringLiteral("-55"), true, -55);
    row("temperature beyond", "sensor1.max", QStringLiteral("126"), false);
    row("delay", "delay.arming", QStringLiteral("250"), true, 250);
    row("delay beyond", "delay.arming", QStringLiteral("251"), false);
    row("phone without plus", "phone2", QStringLiteral("79161234567"), true, 0, QStringLiteral("+79161234567"));
    row("phone with blank", "phone2", QStringLiteral("+7916 1234567"), false);
    row("phone too long", "phone2", QStringLiteral("+7916123456789012"), false);
    row("message", "input1.message", QStringLiteral("Дверь подъезда"), true, 0, QStringLiteral("Дверь подъезда"));
    row("message too long", "input1.message", QString(26, QLatin1Char('x')), false);
    row("message off code page", "input1.message", QStringLiteral("Tür ✓"), false);
    row("date", "date", QStringLiteral("29.02.24"), true, 0, QStringLiteral("29.02.24"));
    row("no such date", "date", QStringLiteral("30.02.24"), false);
    row("time", "time", QStringLiteral("23:59:59"), true, 0, QStringLiteral("23:59:59"));
    row("time beyond", "time", QStringLiteral("24:00:00"), false);
}

void ProvisionTableTest::valuesAreTakenAsTheWindowTakesThem()
{
    QFETCH(QString, column);
    QFETCH(QString, cell);
    QFETCH(bool, taken);
    QFETCH(int, number);
    QFETCH(QString, text);
    const int field = fieldIndex(column);
    QVERIFY(field >= 0);
    const ParsedValue v = parseSiteValue(imageFields().at(size_t(field)).kind, cell);
    QCOMPARE(v.value.has_value(), taken);
    QCOMPARE(v.error.isEmpty(), taken);
    if (taken) {
        QCOMPARE(v.value->number, number);
        QCOMPARE(v.value->text, text);
    }
}

void ProvisionTableTest::tableFilesReadAndWriteBack_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QStringList>("secondRow");
    QTest::newRow("semicolons, UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBFsite;phone1\r\n\xD0\x9A\xD0\xB2. 1;+7916\r\n\r\n\xD0\x9A\xD0\xB2. 2;\r\n")
        << QStringLiteral(";") << true << QStringList{QStringLiteral("Кв. 2"), QString()};
    QTest::newRow("commas, code page 1251, quoted")
        << toCp1251(QStringLiteral("site,input1.message\n\"Кв. 1, подъезд\",x\n\"Дом \"\"А\"\"\",\"a;b\"\n"))
        << QStringLiteral(",") << false << QStringList{QStringLiteral("Дом \"А\""), QStringLiteral("a;b")};
}

void ProvisionTableTest::tableFilesReadAndWriteBack()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, separator);
    QFETCH(bool, utf8);
    QFETCH(QStringList, secondRow);
    const SiteTable t = parseSiteTable(content);
    QVERIFY2(t.ok(), qPrintable(t.error));
    QCOMPARE(QString(t.separator), separator);
    QCOMPARE(t.utf8, utf8);
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows.at(1), secondRow);
    // Written back in its own encoding and separator, it reads the same.
    const SiteTable again = parseSiteTable(siteTableContent(t));
    QCOMPARE(again.rows, t.rows);
    QCOMPARE(again.separator, t.separator);
    QCOMPARE(again.utf8, t.utf8);
}

void ProvisionTableTest::tableCheckNamesLineAndColumn()
{
    const SiteTable t = parseSiteTable(QByteArray("site;phone1;sensor2.max;keys\n"
                                                  "A;+7916;30;\n"
                                                  "\n"
                                                  "B;x;200;missing.key\n"
                                                  ";;;\n"
                                                  "A;;;\n"));
    QVERIFY(t.ok());
    QStringList problems;
    for (const TableProblem &p : checkSiteTable(t, QDir::tempPath()))
        problems << QStringLiteral("%1 %2").arg(p.line).arg(p.column);
    QCOMPARE(problems, (QStringList{QStringLiteral("4 phone1"), QStringLiteral("4 sensor2.max"), QStringLiteral("4 keys"),
                                    QStringLiteral("5 site"), QStringLiteral("6 site")}));
    const SiteTable unknown = parseSiteTable(QByteArray("name;phone1;phone1\nA;1;2\n"));
    QStringList header;
    for (const TableProblem &p : checkSiteTable(unknown, QDir::tempPath()))
        header << p.column;
    QCOMPARE(header, (QStringList{QStringLiteral("name"), QStringLiteral("phone1"), QStringLiteral("site")}));
    QVERIFY(!parseSiteTable(QByteArray("site;phone1\nA;1;2\n")).ok());
}

void ProvisionTableTest::columnsComeFromTheCatalogue()
{
    const QStringList columns = siteColumns();
    QCOMPARE(columns.size(), qsizetype(imageFields().size()) + 2);
    QCOMPARE(columns.first(), QStringLiteral("site"));
    QCOMPARE(columns.last(), QStringLiteral("keys"));
    for (const ImageField &f : imageFields())
        QVERIFY(columns.contains(f.key));
    QCOMPARE(siteColumnLines().size(), columns.size());
}

void ProvisionTableTest::reportKeepsEveryAttemptAndTheLastCounts()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    QString error;
    const auto add = [&](const QString &site, const char *result, const QString &reason = {}) {
        SeriesReportRow row;
        row.time = QDateTime::currentDateTime();
        row.site = site;
        row.result = QString::fromLatin1(result);
        row.reason = reason;
        QVERIFY(appendReportRow(path, row, &error));
    };
    add(QStringLiteral("Кв. 1; угол"), series_result::kOk);
    add(QStringLiteral("Кв. 2"), series_result::kOk);
    add(QStringLiteral("Кв. 2"), series_result::kFailed, QStringLiteral("записано, проверка нашла различия"));
    add(QStringLiteral("Кв. 3"), series_result::kFailed);
    add(QStringLiteral("Кв. 3"), series_result::kOk);
    QCOMPARE(sitesDone(path), (QSet<QString>{QStringLiteral("Кв. 1; угол"), QStringLiteral("Кв. 3")}));
    const SiteTable report = parseSiteTable(readFileBytes(path));
    QCOMPARE(report.header.join(QLatin1Char(';')), seriesReportHeader());
    QCOMPARE(report.rows.size(), 5);
    QVERIFY(sitesDone(dir.filePath(QStringLiteral("none.csv"))).isEmpty());
}

void ProvisionTableTest::rowOnThePanelsEncodesAsTheWindowWould()
{
    // Input 3 is off after the reset: the row switches it on (given after
    // its message, applied before it) and assigns the siren for 2:05 and
    // relay 1 always on; list entries by caption and number.
    EditorFixture f;
    ControlAccess controls(*f.panels);
    const SiteTable t = parseSiteTable(toCp1251(QStringLiteral(
        "site;input3.message;input3.type;input3.active;input3.siren;input3.relay1;arming.level;phone5\n"
        "Кв. 7;Окно;Нормально замкнутый НЗ;да;2:05;всегда;2;89161234567\n")));
    QVERIFY(checkSiteTable(t, QDir::tempPath()).isEmpty());
    applySiteRow(controls, t, 0);
    const FieldValues v = encodedFields(controls);
    auto bytes = [&v](const char *key) { return v.at(fieldIndex(QString::fromLatin1(key))).value_or("none"); };
    QCOMPARE(bytes("input3.message"), toCp1251(QStringLiteral("Окно")));
    QCOMPARE(bytes("input3.type"), QByteArray("2"));
    QCOMPARE(bytes("input3.active"), QByteArray("1"));
    QCOMPARE(bytes("input3.siren"), QByteArray("\x00\x7d", 2));
    QCOMPARE(bytes("input3.relay1"), QByteArray("\xff\xdc", 2));
    QCOMPARE(bytes("input3.relay2"), QByteArray("\x00\x00", 2));
    QCOMPARE(bytes("arming.level"), QByteArray("2"));
    QCOMPARE(bytes("phone5"), QByteArray("89161234567"));
}

QTEST_MAIN(ProvisionTableTest)
#include "test_provision_table.moc"
