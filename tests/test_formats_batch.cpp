// The offline batch commands "encode" and "decode" run as a user runs them:
// the real program, files in, text and files out.

#include "core/cp1251.h"
#include "formats_fixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(ZARVEN_CONFIG_BINARY), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray goldenImage()
{
    return readFileBytes(testDataPath(QStringLiteral("settings_rich.image")));
}

// The golden image's records without the markers and the write prefix, as a
// read reply carries them, written to reply.bin in dir; returns its path.
QString writeGoldenReply(const QTemporaryDir &dir)
{
    const QByteArray stream = goldenImage();
    const QString image = dir.filePath(QStringLiteral("reply.bin"));
    writeFileBytes(image, stream.mid(4, stream.size() - 6));
    return image;
}

} // namespace

class FormatsBatchTest : public QObject {
    Q_OBJECT
private slots:
    void encodePrintsTheWriteStreamOfTheLoadedFile()
    {
        QTemporaryDir dir;
        const Run r = runTool({QStringLiteral("encode"), QStringLiteral("--input"),
                               testDataPath(QStringLiteral("settings_rich.cfg")), QStringLiteral("--workdir"), dir.path()});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString::fromLatin1(goldenImage().toHex().toUpper()) + QLatin1Char('\n'));
        // Loaded as the menu loads: the report is written.
        const QByteArray report = readFileBytes(dir.filePath(QStringLiteral("LoadFile.rep")));
        QVERIFY(report.startsWith(toCp1251(QStringLiteral("Время сеанса: "))));
    }

    void decodeSavesTheWindowAndPrintsTheLog()
    {
        QTemporaryDir dir;
        const QString image = writeGoldenReply(dir);
        const QString output = dir.filePath(QStringLiteral("out.cfg"));
        writeFileBytes(output, "an earlier file");
        const Run r = runTool({QStringLiteral("decode"), QStringLiteral("--image"), image, QStringLiteral("--output"),
                               output, QStringLiteral("--workdir"), dir.path()});
        QCOMPARE(r.exitCode, 0);
        // The inactive input 3 carries the type byte "0", which logs nothing.
        QCOMPARE(r.out, QString());
        QByteArray expected = readFileBytes(testDataPath(QStringLiteral("settings_rich.cfg")));
        // The image carries the time with its leading zero.
        expected.replace("\r\n9:05:07\r\n", "\r\n09:05:07\r\n");
        // An inactive input's message is not carried: it comes back a blank.
        expected.replace(toCp1251(QStringLiteral("#03\r\nскрыто\r\n")), "#03\r\n \r\n");
        const QByteArray saved = readFileBytes(output);
        QCOMPARE(saved.left(saved.indexOf("@message")), expected);
    }

    void decodedFileEncodesBackToTheSameImage()
    {
        QTemporaryDir dir;
        const QString image = writeGoldenReply(dir);
        const QString output = dir.filePath(QStringLiteral("out.cfg"));
        QCOMPARE(runTool({QStringLiteral("decode"), QStringLiteral("--image"), image, QStringLiteral("--output"), output,
                          QStringLiteral("--workdir"), dir.path()})
                     .exitCode,
                 0);
        const Run r = runTool({QStringLiteral("encode"), QStringLiteral("--input"), output, QStringLiteral("--workdir"),
                               dir.path()});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.trimmed(), QString::fromLatin1(goldenImage().toHex().toUpper()));
    }

    void fileErrorsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("shown");
        QTest::newRow("missing configuration file")
            << QStringList{"encode", "--input", "/nonexistent/x.cfg"} << QStringLiteral("Файл не найден");
        QTest::newRow("encode without --input") << QStringList{"encode"} << QString();
        QTest::newRow("missing image") << QStringList{"decode", "--image", "/nonexistent/x.bin", "--output", "@out"}
                                       << QString();
        QTest::newRow("unwritable output")
            << QStringList{"decode", "--image", "@image", "--output", "/nonexistent/dir/out.cfg"} << QString();
        QTest::newRow("decode without --output") << QStringList{"decode", "--image", "@image"} << QString();
        QTest::newRow("broken configuration file") << QStringList{"encode", "--input", "@broken"}
                                                   << QStringLiteral("'x' is not a valid integer value.");
    }
    void fileErrorsExitWithTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        writeFileBytes(dir.filePath(QStringLiteral("image.bin")), goldenImage().mid(4, 20));
        writeFileBytes(dir.filePath(QStringLiteral("broken.cfg")), "#40\r\n1\r\n//#40\r\n#x\r\n");
        for (QString &a : args) {
            if (a == QLatin1String("@image"))
                a = dir.filePath(QStringLiteral("image.bin"));
            else if (a == QLatin1String("@out"))
                a = dir.filePath(QStringLiteral("out.cfg"));
            else if (a == QLatin1String("@broken"))
                a = dir.filePath(QStringLiteral("broken.cfg"));
        }
        const Run r = runTool(args + QStringList{QStringLiteral("--workdir"), dir.path()});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(!r.err.isEmpty() || !r.out.isEmpty(), "the error is reported");
        if (!shown.isEmpty())
            QVERIFY2(r.out.contains(shown), qPrintable(r.out));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.cfg"))));
    }
};

QTEST_GUILESS_MAIN(FormatsBatchTest)
#include "test_formats_batch.moc"
