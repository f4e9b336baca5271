#pragma once

#include "core/access/Sonifier.h"
#include "core/lesson/View.h"

#include <QIODevice>

#include <mutex>
#include <vector>

namespace servo {

// The window's sound as 16-bit mono samples at SampleRate, read by an audio sink (or a test):
// the error tone, a sine whose pitch glides to the frame's pitch in about GlideSeconds and whose
// amplitude ramps to the frame's level times the volume in about RampSeconds, mixed with a short
// motif for each event. Off, the tone fades out, events are dropped and the samples are zero.
// Reads never run dry: the device is an endless stream, open from the start.
class SoundGenerator : public QIODevice {
public:
    static constexpr int SampleRate = 44100;
    static constexpr double GlideSeconds = 0.03;
    static constexpr double RampSeconds = 0.015;
    // Peaks, fractions of full scale at full volume: gentle, since a class hears it through a
    // projector's speakers.
    static constexpr double TonePeak = 0.2;
    static constexpr double EventPeak = 0.3;

    explicit SoundGenerator(QObject* parent = nullptr);

    // What to play from now on, after a frame.
    void follow(const SoundFrame& frame, const View::Sound& sound);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // One note of an event's motif.
    // An event's motif being played: its notes, where it stands in them.
    struct Playing {
        std::vector<SoundNote> notes;
        std::size_t note = 0;
        long sample = 0; // within the note
        double phase = 0;
    };
    double nextSample();
    double nextEventSample();

    std::mutex mutex_; // follow() and the sink's reads may come from different threads
    double targetHertz_ = ToneLowHertz;
    double targetAmplitude_ = 0;
    double eventAmplitude_ = 0;
    double hertz_ = ToneLowHertz;
    double amplitude_ = 0;
    double phase_ = 0; // radians, kept continuous across pitch changes
    std::vector<Playing> playing_;
};

} // namespace servo
