#include "sound/tone.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarven {

namespace {

constexpr double kSemitonesPerDbm = 1.0;
constexpr double kMaxSemitones = 24.0;
constexpr int kFadeMs = 5;

} // namespace

double tonePitchHz(double dbm, std::optional<double> averageDbm)
{
    if (!averageDbm)
        return kToneBaseHz;
    const double semitones = std::clamp((dbm - *averageDbm) * kSemitonesPerDbm, -kMaxSemitones, kMaxSemitones);
    return kToneBaseHz * std::pow(2.0, semitones / 12.0);
}

QByteArray sineTone(double hz, int durationMs, int sampleRate)
{
    const int count = std::max(0, int(qint64(sampleRate) * durationMs / 1000));
    const int fade = std::min(count / 2, sampleRate * kFadeMs / 1000);
    QByteArray pcm(qsizetype(count) * 2, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        double gain = 0.5;
        if (fade > 0 && i < fade)
            gain *= double(i) / fade;
        if (fade > 0 && count - 1 - i < fade)
            gain *= double(count - 1 - i) / fade;
        const double v = gain * std::sin(2.0 * std::numbers::pi * hz * i / sampleRate);
        qToLittleEndian<qint16>(qint16(std::lround(v * 32767.0)), pcm.data() + 2 * i);
    }
    return pcm;
}

namespace {

QtMessageHandler g_outerHandler = nullptr;

// While the audio system is asked for a device: a machine without a sound
// server makes it warn, which is no news to the user of a tone that is
// simply not heard. Everything else passes on.
void quietAboutAudio(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    if (g_outerHandler)
        g_outerHandler(type, context, message);
}

class QuietAudioSystem {
public:
    QuietAudioSystem() { g_outerHandler = qInstallMessageHandler(quietAboutAudio); }
    ~QuietAudioSystem() { qInstallMessageHandler(g_outerHandler); }
    QuietAudioSystem(const QuietAudioSystem &) = delete;
    QuietAudioSystem &operator=(const QuietAudioSystem &) = delete;
};

} // namespace

AudioTone::AudioTone(QObject *parent) : QObject(parent)
{
    const QuietAudioSystem quiet;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(sampleRate_);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    sink_ = new QAudioSink(device, format, this);
    buffer_ = new QBuffer(this);
    available_ = true;
}

AudioTone::~AudioTone()
{
    if (sink_)
        sink_->stop();
}

void AudioTone::beep(double hz, int durationMs)
{
    if (!available_)
        return;
    sink_->stop();
    buffer_->close();
    pcm_ = sineTone(hz, durationMs, sampleRate_);
    buffer_->setBuffer(&pcm_);
    buffer_->open(QIODevice::ReadOnly);
    sink_->start(buffer_);
    // A device that went away or refused the stream: no more beeps, no
    // message; the readings go on.
    if (sink_->error() != QAudio::NoError)
        available_ = false;
}

} // namespace zarven
