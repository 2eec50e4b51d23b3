// The signal monitor: readings against the simulator's wandering level, the
// pause for another exchange and the resume, what stops it; the figures,
// bands, CSV rows and tone pitches it derives from its readings; and the
// window "Антенна" with its tone and CSV file.

#include "exchange_fixture.h"
#include "formats_fixture.h"
#include "packet_frame.h"
#include "pty_pair.h"
#include "sim_process.h"

#include "app/antenna_window.h"
#include "core/cp1251.h"
#include "exchange/signal_monitor.h"
#include "sound/tone.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtEndian>
#include <QtTest>
#include <cmath>

using namespace zarven;
using namespace zarven::test;

namespace {

TimerIntervals monitorIntervals()
{
    TimerIntervals iv = fastIntervals();
    iv.monitorSecondMs = 20;
    return iv;
}

// A window that has found the simulator started with these options.
struct Found {
    explicit Found(const QStringList &simArgs) : sim(simArgs)
    {
        if (!sim.isRunning())
            return;
        f = std::make_unique<ExchangeFixture>(QStringList{sim.devicePath()}, monitorIntervals());
        QTest::mouseClick(f->form().connectButton, Qt::LeftButton);
        static_cast<void>(QTest::qWaitFor([this] { return !f->form().shared.ConnectedPort.isEmpty(); }, 5000));
        f->boxes.clear();
    }
    bool ready() const { return f && !f->form().shared.ConnectedPort.isEmpty(); }
    SignalMonitor &monitor() { return *f->form().signalMonitor; }
    SimProcess sim;
    std::unique_ptr<ExchangeFixture> f;
};

struct RecordedTones : ToneOutput {
    void beep(double hz, int) override { pitches << hz; }
    QList<double> pitches;
};

SignalSample sample(qint64 atMs, int csq, SignalSample::Kind kind = SignalSample::Level)
{
    SignalSample s;
    s.atMs = atMs;
    s.kind = kind;
    s.csq = kind == SignalSample::NoService ? 99 : csq;
    return s;
}

} // namespace

class SignalMonitorTest : public QObject {
    Q_OBJECT
private slots:
    void readsPausesForASettingsReadAndResumes();
    void timeOutStopsItWithTheUsualMessage();
    void scanAndLostLineStopIt_data();
    void scanAndLostLineStopIt();
    void bandsAndPrintedLines_data();
    void bandsAndPrintedLines();
    void figuresOverTheKeptSpan();
    void pitchFollowsLevelAgainstAverage_data();
    void pitchFollowsLevelAgainstAverage();
    void windowBeepsAndSavesWhatItKept();
    void toneWithoutAudioDeviceStaysSilent();
};

void SignalMonitorTest::readsPausesForASettingsReadAndResumes()
{
    // Every reply comes late, so the read below goes out while a "Sg" waits.
    Found w({QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--delay"),
             QStringLiteral("30")});
    QVERIFY2(w.ready(), qPrintable(w.sim.errorText()));
    MainWindow &form = w.f->form();
    SignalMonitor &m = w.monitor();
    QSignalSpy samples(&m, &SignalMonitor::sampleAdded);
    QList<SignalMonitor::Phase> phases;
    connect(&m, &SignalMonitor::phaseChanged, this, [&phases](SignalMonitor::Phase p) { phases << p; });

    QTest::mouseClick(form.monitorButton, Qt::LeftButton);
    QVERIFY(form.antennaWindow->isVisible());
    QVERIFY(form.monitorAction->isChecked());
    QVERIFY(form.antennaWindow->monitorButton->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(samples.size() >= 5, 10000);
    // Each reading went through the ordinary reply handling.
    const SignalSample last = m.history().samples().back();
    QCOMPARE(form.signalLabel->text(), last.hasLevel() ? QStringLiteral("%1 dBm").arg(last.dbm()) : sampleText(last));
    QVERIFY(form.eventLog.textLines().filter(QStringLiteral("выходная строка: ")).size() >= samples.size());
    for (const SignalSample &s : m.history().samples())
        QVERIFY2((s.hasLevel() && s.csq >= 5 && s.csq <= 31) || s.kind == SignalSample::NoService,
                 qPrintable(QString::number(s.csq)));

    // "Считать параметры" while the next "Sg" is out.
    bool clicked = false;
    const auto c = connect(&m, &SignalMonitor::phaseChanged, this, [&](SignalMonitor::Phase p) {
        if (p == SignalMonitor::Phase::Reading && !clicked) {
            clicked = true;
            QTimer::singleShot(0, form.readSettingsAction, &QAction::trigger);
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(w.f->boxes.texts().contains(QStringLiteral("Процесс чтения завершился. Все OK.")), 10000);
    disconnect(c);
    QCOMPARE(w.f->boxes.texts(), QStringList({QStringLiteral("Процесс чтения завершился. Все OK.")}));
    QVERIFY(phases.contains(SignalMonitor::Phase::Paused));
    const qsizetype afterRead = samples.size();
    QTRY_VERIFY_WITH_TIMEOUT(samples.size() >= afterRead + 3, 10000);
    QVERIFY(m.running());
    QVERIFY(form.monitorButton->isChecked());

    QTest::mouseClick(form.monitorButton, Qt::LeftButton);
    QVERIFY(!m.running());
    QVERIFY(!form.monitorAction->isChecked());
    QCOMPARE(w.f->boxes.texts().size(), 1);
}

void SignalMonitorTest::timeOutStopsItWithTheUsualMessage()
{
    Found w({QStringLiteral("--silent"), QStringLiteral("Sg")});
    QVERIFY2(w.ready(), qPrintable(w.sim.errorText()));
    MainWindow &form = w.f->form();
    QSignalSpy stopped(&w.monitor(), &SignalMonitor::stopped);
    form.monitorAction->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(stopped.size(), 1, 10 * w.f->intervals().responseTimeoutMs);
    QCOMPARE(stopped[0][0].value<SignalMonitor::StopReason>(), SignalMonitor::StopReason::TimedOut);
    QCOMPARE(w.f->boxes.texts(), QStringList({QStringLiteral("НЕТ ответа о уровне сигнала.")}));
    QVERIFY(!form.monitorAction->isChecked() && !form.monitorButton->isChecked());
    QVERIFY(!form.antennaWindow->monitorButton->isChecked());
    QCOMPARE(w.monitor().history().samples().size(), size_t(1));
    QCOMPARE(w.monitor().history().stats().failures, 1);
    QCOMPARE(form.antennaWindow->phaseLabel->text(), QStringLiteral("Остановлено: прибор не ответил"));
    // Nothing more goes out.
    QTest::qWait(10 * monitorIntervals().monitorSecondMs);
    QCOMPARE(w.monitor().history().samples().size(), size_t(1));
}

void SignalMonitorTest::scanAndLostLineStopIt_data()
{
    QTest::addColumn<bool>("scan");
    QTest::addColumn<SignalMonitor::StopReason>("reason");
    QTest::newRow("scan") << true << SignalMonitor::StopReason::Scan;
    QTest::newRow("lost line") << false << SignalMonitor::StopReason::LineLost;
}

void SignalMonitorTest::scanAndLostLineStopIt()
{
    QFETCH(bool, scan);
    QFETCH(SignalMonitor::StopReason, reason);
    Found w({});
    QVERIFY2(w.ready(), qPrintable(w.sim.errorText()));
    QSignalSpy samples(&w.monitor(), &SignalMonitor::sampleAdded);
    QSignalSpy stopped(&w.monitor(), &SignalMonitor::stopped);
    w.monitor().start();
    QTRY_VERIFY(samples.size() >= 2);
    if (scan)
        w.f->form().connectAction->trigger();
    else
        emit w.f->core().connectionLost(ssSignalLevel);
    QCOMPARE(stopped.size(), 1);
    QCOMPARE(stopped[0][0].value<SignalMonitor::StopReason>(), reason);
    QVERIFY(!w.f->form().monitorButton->isChecked());
}

void SignalMonitorTest::bandsAndPrintedLines_data()
{
    QTest::addColumn<int>("csq");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("csvTail");
    auto row = [](const char *name, int csq, SignalSample::Kind kind, const char *band, const char *line,
                  const char *csv) {
        QTest::newRow(name) << csq << int(kind) << QString::fromUtf8(band) << QString::fromUtf8(line)
                            << toCp1251(QString::fromUtf8(csv));
    };
    row("0", 0, SignalSample::Level, "плохо", "CSQ 0  -113 dBm  0%  плохо", ";0;-113;плохо");
    row("9", 9, SignalSample::Level, "плохо", "CSQ 9  -95 dBm  28%  плохо", ";9;-95;плохо");
    row("10", 10, SignalSample::Level, "удовлетворительно", "CSQ 10  -93 dBm  32%  удовлетворительно",
        ";10;-93;удовлетворительно");
    row("14", 14, SignalSample::Level, "удовлетворительно", "CSQ 14  -85 dBm  45%  удовлетворительно",
        ";14;-85;удовлетворительно");
    row("15", 15, SignalSample::Level, "хорошо", "CSQ 15  -83 dBm  48%  хорошо", ";15;-83;хорошо");
    row("17", 17, SignalSample::Level, "хорошо", "CSQ 17  -79 dBm  54%  хорошо", ";17;-79;хорошо");
    row("20", 20, SignalSample::Level, "отлично", "CSQ 20  -73 dBm  64%  отлично", ";20;-73;отлично");
    row("31", 31, SignalSample::Level, "отлично", "CSQ 31  -51 dBm  99%  отлично", ";31;-51;отлично");
    // No level the module reports: no band to name.
    row("45", 45, SignalSample::Level, "", "CSQ 45  -23 dBm  100%", ";45;-23;");
    row("99", 99, SignalSample::NoService, "нет связи", "CSQ 99  нет связи", ";99;;нет связи");
    row("no number", 0, SignalSample::NoNumber, "", "нет сигнала", ";;;нет сигнала");
    row("time-out", 0, SignalSample::TimedOut, "", "нет ответа", ";;;нет ответа");
}

void SignalMonitorTest::bandsAndPrintedLines()
{
    QFETCH(int, csq);
    QFETCH(int, kind);
    QFETCH(QString, band);
    QFETCH(QString, line);
    QFETCH(QByteArray, csvTail);
    const QDateTime at(QDate(2026, 12, 10), QTime(14, 3, 7));
    const SignalSample s = sample(at.toMSecsSinceEpoch(), csq, SignalSample::Kind(kind));
    if (s.hasLevel() || s.kind == SignalSample::NoService)
        QCOMPARE(signalBand(csq), band);
    QCOMPARE(signalWatchLine(s), QStringLiteral("14:03:07  ") + line);
    QCOMPARE(signalCsvRow(s), QByteArray("2026-12-10 14:03:07") + csvTail + "\r\n");
    // The caption function takes every word shown.
    QVERIFY(!signalWatchLine(s, [](const QString &) { return QStringLiteral("X"); }).contains(QChar(0x0430)));
}

void SignalMonitorTest::figuresOverTheKeptSpan()
{
    SignalHistory h(1000);
    QCOMPARE(signalStatsLine(h.stats()), QStringLiteral("мин нет данных  сред нет данных  макс нет данных  "
                                                        "измерений 0  сбоев 0"));
    h.add(sample(0, 5));    // -103 dBm, dropped from the span below
    h.add(sample(500, 17)); // -79
    h.add(sample(600, 0, SignalSample::TimedOut));
    h.add(sample(700, 0, SignalSample::NoService));
    h.add(sample(1200, 20)); // -73; the first sample is now older than the span
    QCOMPARE(h.samples().size(), size_t(4));
    QCOMPARE(signalStatsLine(h.stats()),
             QStringLiteral("мин -79 dBm  сред -76.0 dBm  макс -73 dBm  измерений 5  сбоев 2"));
    // The tone's average: the levels before the newest reading.
    QVERIFY(h.averageBeforeNewest(8) == -79.0);
    h.resetStats();
    QCOMPARE(h.stats().spanLevels, 0);
    h.add(sample(1200, 31)); // a reading after the reset counts, whatever its time
    const SignalStats st = h.stats();
    QCOMPARE(st.readings, 1);
    QCOMPARE(st.minDbm, -51);
    QCOMPARE(st.maxDbm, -51);
    // However short the readings come, the history stays bounded.
    for (int i = 0; i < 3 * SignalHistory::kMaxSamples; ++i)
        h.add(sample(1300, 10));
    QCOMPARE(h.samples().size(), size_t(SignalHistory::kMaxSamples));
}

void SignalMonitorTest::pitchFollowsLevelAgainstAverage_data()
{
    QTest::addColumn<double>("dbm");
    QTest::addColumn<double>("average");
    QTest::addColumn<double>("semitones");
    QTest::newRow("at the average") << -79.0 << -79.0 << 0.0;
    QTest::newRow("a step above") << -77.0 << -79.0 << 2.0;
    QTest::newRow("a step below") << -81.0 << -79.0 << -2.0;
    QTest::newRow("half a step above") << -78.0 << -79.0 << 1.0;
    QTest::newRow("far above: two octaves") << -51.0 << -113.0 << 24.0;
    QTest::newRow("far below: two octaves") << -113.0 << -51.0 << -24.0;
    QTest::newRow("no average") << -79.0 << qQNaN() << 0.0;
}

void SignalMonitorTest::pitchFollowsLevelAgainstAverage()
{
    QFETCH(double, dbm);
    QFETCH(double, average);
    QFETCH(double, semitones);
    const auto avg = qIsNaN(average) ? std::nullopt : std::optional<double>(average);
    QVERIFY(qFuzzyCompare(tonePitchHz(dbm, avg), kToneBaseHz * std::pow(2.0, semitones / 12.0)));
    // The tone itself: 16-bit samples, silent at both ends.
    const QByteArray pcm = sineTone(tonePitchHz(dbm, avg), 100, 8000);
    QCOMPARE(pcm.size(), 1600);
    QCOMPARE(qFromLittleEndian<qint16>(pcm.constData()), qint16(0));
    QCOMPARE(qFromLittleEndian<qint16>(pcm.constData() + pcm.size() - 2), qint16(0));
}

void SignalMonitorTest::windowBeepsAndSavesWhatItKept()
{
    PtyPair pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    ExchangeFixture f({pty.slavePath()}, monitorIntervals());
    f.form().shared.ConnectedPort = pty.slavePath();
    AntennaWindow &window = *f.form().antennaWindow;
    RecordedTones tones;
    window.setToneOutput(&tones);
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    ScriptedFileDialogs &names = *dialogs;
    window.setFileDialogs(std::move(dialogs));
    QSignalSpy samples(f.form().signalMonitor, &SignalMonitor::sampleAdded);

    QTest::mouseClick(f.form().monitorButton, Qt::LeftButton);
    const QList<int> levels = {17, 17, 20, 14, 99, 16};
    for (int i = 0; i < levels.size(); ++i) {
        if (i == 1)
            window.soundBox->setChecked(true);
        QCOMPARE(readWhileRunning(pty, 6, 2000), framed("Sg"));
        QVERIFY(pty.writeMaster(framed("+CSQ: " + QByteArray::number(levels[i]) + ",0")));
        QTRY_COMPARE(samples.size(), i + 1);
    }
    QTest::mouseClick(window.monitorButton, Qt::LeftButton);
    QVERIFY(!f.form().signalMonitor->running());
    QVERIFY(!f.form().monitorButton->isChecked());

    // Off for the first reading; the same level again at the base pitch;
    // higher above the average, lower below it; silence for "нет связи".
    QCOMPARE(tones.pitches.size(), 4);
    QCOMPARE(tones.pitches[0], kToneBaseHz);
    QVERIFY(tones.pitches[1] > tones.pitches[0]);
    QVERIFY(tones.pitches[2] < tones.pitches[0]);
    QVERIFY(tones.pitches[3] < tones.pitches[0]);
    QCOMPARE(window.levelLabel->text(), QStringLiteral("-81 dBm"));
    QCOMPARE(window.bandLabel->text(), QStringLiteral("хорошо"));
    QCOMPARE(window.statsLabel->text(), QStringLiteral("мин -85 dBm    сред -79.4 dBm    макс -73 dBm"));
    QCOMPARE(window.countsLabel->text(), QStringLiteral("измерений 6    сбоев 1"));

    names.saveNames << f.dir.filePath(QStringLiteral("antenna.csv"));
    QTest::mouseClick(window.saveCsvButton, Qt::LeftButton);
    QFile csv(f.dir.filePath(QStringLiteral("antenna.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QList<QByteArray> rows = csv.readAll().split('\n');
    QCOMPARE(rows.size(), 8);
    QCOMPARE(rows[0], QByteArray("time;CSQ;dBm;band\r"));
    QVERIFY(rows[5].endsWith(toCp1251(QStringLiteral(";99;;нет связи\r"))));
    QVERIFY(rows[6].endsWith(toCp1251(QStringLiteral(";16;-81;хорошо\r"))));

    QTest::mouseClick(window.resetButton, Qt::LeftButton);
    QCOMPARE(window.countsLabel->text(), QStringLiteral("измерений 0    сбоев 0"));
    // The interval is kept with the window's other choices.
    window.intervalBox->setValue(7);
    QCOMPARE(f.form().signalMonitor->intervalSeconds(), 7);
    QCOMPARE(f.form().prefs.monitorInterval(), 7);
}

void SignalMonitorTest::toneWithoutAudioDeviceStaysSilent()
{
    // "Звук" on and off with the real output, readings going on: on a
    // machine without a sound device (the tests') the sound system warns of
    // nothing.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("audio|multimedia|sink|ffmpeg|pulse|alsa|gstreamer"),
                                            QRegularExpression::CaseInsensitiveOption));
    Found w({QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("3")});
    QVERIFY2(w.ready(), qPrintable(w.sim.errorText()));
    QSignalSpy samples(&w.monitor(), &SignalMonitor::sampleAdded);
    QTest::mouseClick(w.f->form().monitorButton, Qt::LeftButton);
    w.f->form().antennaWindow->soundBox->setChecked(true);
    QTRY_VERIFY(samples.size() >= 4);
    w.f->form().antennaWindow->soundBox->setChecked(false);
    QTRY_VERIFY(samples.size() >= 6);
    QVERIFY(w.monitor().running());
}

QTEST_MAIN(SignalMonitorTest)
#include "test_signal_monitor.moc"
