#pragma once
// The monitor's tone: a short beep after each reading whose pitch follows
// the level against the average of the last readings, so that a gain of a
// step is heard without looking at the screen.
//
// ToneOutput is the seam: the window plays through AudioTone (Qt
// Multimedia, a generated sine, no sound files), tests record the pitches.

#include <QByteArray>
#include <QObject>
#include <memory>
#include <optional>

class QAudioSink;
class QBuffer;

namespace zarven {

class ToneOutput {
public:
    virtual ~ToneOutput() = default;
    virtual void beep(double hz, int durationMs) = 0;
};

// The pitch at the average level; every 2 dBm (one step of the level) above
// it is two semitones higher, below it two lower, within two octaves.
inline constexpr double kToneBaseHz = 880.0;
// The pitch of a level (dBm) against the average of the last readings;
// without an average, the base pitch.
double tonePitchHz(double dbm, std::optional<double> averageDbm);

// A sine of hz, 16-bit signed mono little-endian samples at sampleRate, with
// a few milliseconds of fade at both ends so that it does not click.
QByteArray sineTone(double hz, int durationMs, int sampleRate);

// Plays on the system's default audio output. Where there is none (a build
// machine, a virtual display) or it fails, beeps are silently dropped.
class AudioTone : public QObject, public ToneOutput {
public:
    explicit AudioTone(QObject *parent = nullptr);
    ~AudioTone() override;
    void beep(double hz, int durationMs) override;
    // Whether an output device was found.
    bool available() const { return available_; }

private:
    bool available_ = false;
    int sampleRate_ = 22050;
    QAudioSink *sink_ = nullptr;
    QBuffer *buffer_ = nullptr;
    QByteArray pcm_;
};

} // namespace zarven
