#include "app/antenna_window.h"

#include "app/signal_graph.h"
#include "config_file/file_dialogs.h"
#include "core/errors.h"
#include "sound/tone.h"
#include "translate/translation.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zarven {

namespace {

QLabel *valueLabel(QWidget *parent, const char *name, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    // Readings, not captions: the language switch leaves them to retranslate().
    keepOutOfTranslation(label);
    return label;
}

QColor bandColour(const SignalSample &s)
{
    if (!s.hasLevel())
        return QColor(200, 0, 0);
    if (s.csq <= 9)
        return QColor(190, 30, 30);
    if (s.csq <= 14)
        return QColor(200, 110, 0);
    if (s.csq <= 19)
        return QColor(120, 130, 0);
    return QColor(0, 130, 40);
}

} // namespace

AntennaWindow::AntennaWindow(SignalMonitor &monitor, CaptionFunction caption, std::unique_ptr<FileDialogs> dialogs,
                             QWidget *parent)
    : QWidget(parent, Qt::Window), monitor_(monitor), caption_(std::move(caption)), dialogs_(std::move(dialogs))
{
    setObjectName(QStringLiteral("AntennaWindow"));
    setWindowTitle(QStringLiteral("Антенна"));

    levelLabel = valueLabel(this, "Label_AntennaLevel", QStringLiteral("."));
    QFont big = levelLabel->font();
    big.setPointSizeF(big.pointSizeF() * 3);
    big.setBold(true);
    levelLabel->setFont(big);
    csqLabel = valueLabel(this, "Label_AntennaCsq");
    QFont medium = csqLabel->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.6);
    csqLabel->setFont(medium);
    bandLabel = valueLabel(this, "Label_AntennaBand");
    medium.setBold(true);
    bandLabel->setFont(medium);

    graph = new SignalGraph(monitor_.history(), this);
    graph->setCaption(caption_);
    graph->setClock([this] { return monitor_.now(); });

    statsLabel = valueLabel(this, "Label_AntennaStats");
    countsLabel = valueLabel(this, "Label_AntennaCounts");
    phaseLabel = valueLabel(this, "Label_AntennaPhase");
    resetButton = new QPushButton(QStringLiteral("Сброс"), this);
    resetButton->setObjectName(QStringLiteral("Button_AntennaReset"));
    saveCsvButton = new QPushButton(QStringLiteral("Сохранить CSV"), this);
    saveCsvButton->setObjectName(QStringLiteral("Button_AntennaCsv"));
    monitorButton = new QPushButton(QStringLiteral("Непрерывно"), this);
    monitorButton->setObjectName(QStringLiteral("Button_AntennaMonitor"));
    monitorButton->setCheckable(true);
    soundBox = new QCheckBox(QStringLiteral("Звук"), this);
    soundBox->setObjectName(QStringLiteral("CheckBox_AntennaSound"));
    auto *intervalCaption = new QLabel(QStringLiteral("Интервал, с"), this);
    intervalCaption->setObjectName(QStringLiteral("Label_AntennaInterval"));
    intervalBox = new QSpinBox(this);
    intervalBox->setObjectName(QStringLiteral("SpinEdit_AntennaInterval"));
    intervalBox->setRange(SignalMonitor::kMinInterval, SignalMonitor::kMaxInterval);
    intervalBox->setValue(monitor_.intervalSeconds());
    intervalCaption->setBuddy(intervalBox);

    auto *reading = new QHBoxLayout;
    reading->addWidget(levelLabel);
    reading->addSpacing(16);
    reading->addWidget(csqLabel, 0, Qt::AlignBottom);
    reading->addSpacing(16);
    reading->addWidget(bandLabel, 0, Qt::AlignBottom);
    reading->addStretch(1);
    auto *stats = new QHBoxLayout;
    stats->addWidget(statsLabel, 1);
    stats->addWidget(resetButton);
    auto *controls = new QHBoxLayout;
    controls->addWidget(monitorButton);
    controls->addSpacing(12);
    controls->addWidget(intervalCaption);
    controls->addWidget(intervalBox);
    controls->addSpacing(12);
    controls->addWidget(soundBox);
    controls->addStretch(1);
    controls->addWidget(saveCsvButton);
    auto *all = new QVBoxLayout(this);
    all->addLayout(reading);
    all->addWidget(graph, 1);
    all->addLayout(stats);
    all->addWidget(countsLabel);
    all->addWidget(phaseLabel);
    all->addLayout(controls);

    connect(&monitor_, &SignalMonitor::sampleAdded, this, &AntennaWindow::sampleAdded);
    connect(&monitor_, &SignalMonitor::phaseChanged, this, [this](SignalMonitor::Phase phase) {
        if (phase != SignalMonitor::Phase::Stopped)
            stopReason_.reset();
        showPhase();
    });
    connect(&monitor_, &SignalMonitor::stopped, this, [this](SignalMonitor::StopReason reason) {
        stopReason_ = reason;
        showPhase();
    });
    connect(resetButton, &QPushButton::clicked, this, [this] {
        monitor_.resetStats();
        showStats();
    });
    connect(intervalBox, &QSpinBox::valueChanged, this, [this](int seconds) { monitor_.setIntervalSeconds(seconds); });
    connect(soundBox, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !tone_) {
            ownTone_ = std::make_unique<AudioTone>();
            tone_ = ownTone_.get();
        }
    });
    stale_ = true;
    resize(sizeHint().expandedTo(QSize(600, 420)));
}

AntennaWindow::~AntennaWindow() = default;

void AntennaWindow::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

QString AntennaWindow::in(const QString &russian) const
{
    return caption_ ? caption_(russian) : russian;
}

void AntennaWindow::showEvent(QShowEvent *event)
{
    if (stale_)
        retranslate();
    QWidget::showEvent(event);
}

void AntennaWindow::retranslate()
{
    // A hidden window asks the dictionary nothing: a language switch then
    // collects only the texts the user can see.
    stale_ = !isVisible();
    if (stale_)
        return;
    setWindowTitle(in(QStringLiteral("Антенна")));
    showLatest();
    showStats();
    showPhase();
    graph->update();
}

void AntennaWindow::sampleAdded(const SignalSample &sample)
{
    showLatest();
    showStats();
    graph->update();
    beepFor(sample);
}

void AntennaWindow::beepFor(const SignalSample &sample)
{
    // Silence for a reading without a level: no pitch could mean anything.
    if (!soundBox->isChecked() || !tone_ || !sample.hasLevel())
        return;
    tone_->beep(tonePitchHz(sample.dbm(), monitor_.history().averageBeforeNewest(kToneAverageOf)), kBeepMs);
}

void AntennaWindow::showLatest()
{
    const auto &samples = monitor_.history().samples();
    if (samples.empty()) {
        levelLabel->setText(QStringLiteral("."));
        csqLabel->clear();
        bandLabel->clear();
        return;
    }
    const SignalSample &s = samples.back();
    levelLabel->setText(s.hasLevel() ? QStringLiteral("%1 dBm").arg(s.dbm()) : QStringLiteral("—"));
    csqLabel->setText(s.hasLevel() || s.kind == SignalSample::NoService ? QStringLiteral("CSQ %1").arg(s.csq)
                                                                        : QString());
    bandLabel->setText(in(sampleText(s)));
    QPalette p = bandLabel->palette();
    p.setColor(QPalette::WindowText, bandColour(s));
    bandLabel->setPalette(p);
}

void AntennaWindow::showStats()
{
    const SignalStats st = monitor_.history().stats();
    const QString none = in(QStringLiteral("нет данных"));
    auto dbm = [&](double v, int decimals) {
        return st.spanLevels > 0 ? QString::number(v, 'f', decimals) + QStringLiteral(" dBm") : none;
    };
    statsLabel->setText(QStringLiteral("%1 %2    %3 %4    %5 %6")
                            .arg(in(QStringLiteral("мин")), dbm(st.minDbm, 0), in(QStringLiteral("сред")),
                                 dbm(st.averageDbm(), 1), in(QStringLiteral("макс")), dbm(st.maxDbm, 0)));
    countsLabel->setText(QStringLiteral("%1 %2    %3 %4")
                             .arg(in(QStringLiteral("измерений")))
                             .arg(st.readings)
                             .arg(in(QStringLiteral("сбоев")))
                             .arg(st.failures));
}

void AntennaWindow::showPhase()
{
    QString text;
    switch (monitor_.phase()) {
    case SignalMonitor::Phase::Reading:
    case SignalMonitor::Phase::Waiting:
        text = in(QStringLiteral("Идут измерения"));
        break;
    case SignalMonitor::Phase::Paused:
        text = in(QStringLiteral("Пауза: идёт другой обмен с прибором"));
        break;
    case SignalMonitor::Phase::Stopped:
        if (!stopReason_ || *stopReason_ == SignalMonitor::StopReason::User)
            text = in(QStringLiteral("Остановлено"));
        else if (*stopReason_ == SignalMonitor::StopReason::TimedOut)
            text = in(QStringLiteral("Остановлено: прибор не ответил"));
        else if (*stopReason_ == SignalMonitor::StopReason::LineLost)
            text = in(QStringLiteral("Остановлено: связь с прибором потеряна"));
        else if (*stopReason_ == SignalMonitor::StopReason::Scan)
            text = in(QStringLiteral("Остановлено: поиск прибора"));
        else
            text = in(QStringLiteral("Остановлено: нет соединения с прибором"));
        break;
    }
    phaseLabel->setText(text);
}

void AntennaWindow::saveCsv()
{
    if (!dialogs_)
        return;
    const QString path = dialogs_->saveFileName();
    if (path.isEmpty())
        return;
    QByteArray bytes = signalCsvHeader();
    for (const SignalSample &s : monitor_.history().samples())
        bytes += signalCsvRow(s, caption_);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace zarven
