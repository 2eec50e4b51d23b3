// The support bundle: the packet ring, the zip read back with libzip, and
// the batch commands doctor and support-bundle against the simulator.

#include "batch_run.h"
#include "core/errors.h"
#include "serial/packet_trace.h"
#include "sim_process.h"
#include "system/support_bundle.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <zip.h>

using namespace zarven;
using namespace zarven::test;

namespace {

// Every entry of a zip file, by name.
QMap<QString, QByteArray> readZip(const QString &path)
{
    QMap<QString, QByteArray> entries;
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, zip_uint64_t(i), 0, &st);
        QByteArray content(qsizetype(st.size), '\0');
        if (zip_file_t *f = zip_fopen_index(archive, zip_uint64_t(i), 0)) {
            zip_fread(f, content.data(), st.size);
            zip_fclose(f);
        }
        entries.insert(QString::fromUtf8(st.name), content);
    }
    zip_close(archive);
    return entries;
}

} // namespace

class SupportBundleTest : public QObject {
    Q_OBJECT
private slots:
    void traceKeepsTheLastPacketsInOrder();
    void zipHoldsEveryFileByteForByte();
    void batchCommandsAgainstTheSimulator();
};

void SupportBundleTest::traceKeepsTheLastPacketsInOrder()
{
    PacketTrace trace(3);
    for (char c = 'a'; c <= 'e'; ++c)
        trace.record(c == 'c' ? PacketTrace::Direction::In : PacketTrace::Direction::Out, QByteArray(1, c));
    QCOMPARE(trace.size(), 3);
    QByteArray order;
    for (const auto &p : trace.packets())
        order += p.bytes;
    QCOMPARE(order, QByteArray("cde"));
    const QList<QByteArray> lines = trace.text().split('\n');
    QCOMPARE(lines.size(), 4); // three lines and the end
    // "yyyy-MM-dd HH:mm:ss.zzz IN  63": milliseconds, direction, hex.
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} IN  63$"))
                .match(QString::fromLatin1(lines[0])).hasMatch());
    QVERIFY(lines[2].endsWith(" OUT 65"));
    QCOMPARE(PacketTrace().capacity(), 2000);
}

void SupportBundleTest::zipHoldsEveryFileByteForByte()
{
    QTemporaryDir dir;
    QFile backup(dir.filePath(QStringLiteral("save.000")));
    QVERIFY(backup.open(QIODevice::WriteOnly));
    backup.write("#01\r\n\xC0\x00\xFF", 8);
    backup.close();
    SupportBundleInput in;
    in.programDir = dir.path();
    in.log = "\xE2\xF5\xEE\xE4\r\n"; // code page 1251 as held
    in.trace = "t\n";
    in.doctorReport = QStringLiteral("[ok] всё");
    in.ports = {QStringLiteral("/dev/zarven-none")};
    const QString zip = dir.filePath(QStringLiteral("bundle.zip"));
    writeZip(zip, supportBundleFiles(in));
    const QMap<QString, QByteArray> got = readZip(zip);
    QCOMPARE(got.keys(), QStringList({"doctor.txt", "log.log", "ports.txt", "save.000", "trace.txt", "versions.txt"}));
    QCOMPARE(got["save.000"], QByteArray("#01\r\n\xC0\x00\xFF", 8));
    QCOMPARE(got["log.log"], in.log);
    QCOMPARE(got["doctor.txt"], in.doctorReport.toUtf8() + '\n');
    QCOMPARE(got["ports.txt"], QByteArray("/dev/zarven-none\n"));
    QVERIFY(got["versions.txt"].startsWith("zarven4-config " ZARVEN_VERSION "\nQt "));

    // A folder that cannot be written: an error naming the path, no file.
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/b.zip"));
    QVERIFY_THROWS_EXCEPTION(FileError, writeZip(bad, supportBundleFiles(in)));
    QVERIFY(!QFile::exists(bad));
}

void SupportBundleTest::batchCommandsAgainstTheSimulator()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTemporaryDir dir;
    const QString zip = dir.filePath(QStringLiteral("support.zip"));
    const BatchRun run = runConfig({QStringLiteral("support-bundle"), QStringLiteral("--port"), sim.devicePath(),
                                    QStringLiteral("--output"), zip, QStringLiteral("--workdir"), dir.path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.contains(QStringLiteral("Отчёт для поддержки сохранён: ") + zip));
    const QMap<QString, QByteArray> got = readZip(zip);
    // The scan's exchange, both ways.
    QVERIFY2(got["trace.txt"].contains(" OUT FEFF5474FFFE\n"), got["trace.txt"].constData());
    QVERIFY(got["trace.txt"].contains(" IN  FEFF" + QByteArray("T6 v2.14").toHex().toUpper() + "FFFE\n"));
    QVERIFY(got["log.log"].contains(QByteArray("T6 v2.14")));
    QVERIFY(got["ports.txt"].startsWith(sim.devicePath().toUtf8()));
    QVERIFY(got["doctor.txt"].contains(sim.devicePath().toUtf8() + ": "));

    // doctor: the same report, exit 1 exactly when a line says a problem.
    const BatchRun doctor = runConfig({QStringLiteral("doctor"), QStringLiteral("--port"), sim.devicePath(),
                                       QStringLiteral("--workdir"), dir.path()});
    QVERIFY(doctor.out.contains(QStringLiteral("[ok] %1: доступ к порту есть").arg(sim.devicePath())));
    QVERIFY(doctor.out.contains(QStringLiteral("[ok] %1: порт свободен").arg(sim.devicePath())));
    QCOMPARE(doctor.exitCode, doctor.out.contains(QStringLiteral("[!!]")) ? 1 : 0);

    const BatchRun missing = runConfig({QStringLiteral("support-bundle"), QStringLiteral("--workdir"), dir.path()});
    QCOMPARE(missing.exitCode, 2);
}

QTEST_GUILESS_MAIN(SupportBundleTest)
#include "test_support_bundle.moc"
