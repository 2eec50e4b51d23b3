// "Серия приборов…" in the window: the table opened, edited in place and
// saved back, a series run against simulated controllers with each site's
// state, the step in large type and a beep per unit; a bad table refused.

#include "app/series_dialog.h"
#include "exchange_fixture.h"
#include "file_bytes.h"
#include "batch_run.h"
#include "sim_process.h"
#include "sound/tone.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

QByteArray storedImage(const QString &statePath)
{
    for (const QByteArray &line : readFileBytes(statePath).split('\n'))
        if (line.startsWith("image "))
            return QByteArray::fromHex(line.mid(6).replace(' ', ""));
    return {};
}

struct RecordedTones : ToneOutput {
    void beep(double hz, int) override { pitches << hz; }
    QList<double> pitches;
};

} // namespace

class ProvisionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void seriesDialogEditsRunsAndReports();
};

void ProvisionWindowTest::seriesDialogEditsRunsAndReports()
{
    ExchangeFixture f;
    const QString link = f.dir.filePath(QStringLiteral("ttyBENCH"));
    const QString sites = f.dir.filePath(QStringLiteral("sites.csv"));
    const QString report = f.dir.filePath(QStringLiteral("report.csv"));
    writeFileBytes(sites, QStringLiteral("site;phone1;sensor1.min\nКв. 1;+79160000001;\nКв. 2;+79160000002;\n").toUtf8());
    SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--unplug-idle"), QStringLiteral("300"),
                    QStringLiteral("--replug"), QStringLiteral("100"), QStringLiteral("--units"), QStringLiteral("2"),
                    QStringLiteral("--state"), f.dir.filePath(QStringLiteral("unit"))});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));

    QAction *menu = f.form().findChild<QAction *>(QStringLiteral("menu_series"));
    QVERIFY(menu);
    RecordedTones tones;
    SeriesDialog dialog(f.form(), &tones);
    dialog.templateEdit->setText(QStringLiteral(ZARVEN_TEST_DATA "/settings_rich.cfg"));
    dialog.sitesEdit->setText(sites);
    dialog.reportEdit->setText(report);
    dialog.portsEdit->setText(link);
    QVERIFY(dialog.openTable(sites));
    QCOMPARE(dialog.sitesTable->rowCount(), 2);
    QCOMPARE(dialog.sitesTable->columnCount(), 4); // the table's three and the state

    // A value the field does not take: nothing is written, the table is
    // saved with the edit.
    dialog.sitesTable->item(1, 2)->setText(QStringLiteral("-99"));
    QVERIFY(!dialog.start());
    QVERIFY(dialog.stepLabel->text().contains(QStringLiteral("ничего не записано")));
    QVERIFY(QString::fromUtf8(readFileBytes(sites)).contains(QStringLiteral("Кв. 2;+79160000002;-99")));
    QVERIFY(!QFile::exists(report));

    dialog.sitesTable->item(1, 2)->setText(QStringLiteral("-9"));
    const std::optional<SeriesSummary> summary = dialog.start();
    QVERIFY(summary);
    QVERIFY(summary->allOk());
    QCOMPARE(summary->ok, 2);
    for (int row = 0; row < 2; ++row)
        QCOMPARE(dialog.sitesTable->item(row, 3)->text(), QStringLiteral("готово"));
    QCOMPARE(tones.pitches.size(), 2);
    QVERIFY(dialog.stepLabel->text().startsWith(QStringLiteral("Итого объектов: 2; готово: 2")));
    QCOMPARE(lines(QString::fromUtf8(readFileBytes(report))).size(), 3);
    QVERIFY(QString::fromUtf8(readFileBytes(sites)).contains(QStringLiteral("Кв. 2;+79160000002;-9\r\n")));
    // The second controller holds the edited threshold (-9 is F7 hex), the
    // first the template's.
    QVERIFY(storedImage(f.dir.filePath(QStringLiteral("unit.2"))).contains('\xF7'));
    QVERIFY(!storedImage(f.dir.filePath(QStringLiteral("unit.1"))).contains('\xF7'));
}

QTEST_MAIN(ProvisionWindowTest)
#include "test_provision_window.moc"
