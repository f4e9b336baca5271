#include "desktop/SoundGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace servo {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
// Per-sample steps of a first-order follower with the given time constant.
const double GlideStep =
    1 - std::exp(-1.0 / (SoundGenerator::GlideSeconds * SoundGenerator::SampleRate));
const double RampStep =
    1 - std::exp(-1.0 / (SoundGenerator::RampSeconds * SoundGenerator::SampleRate));
// Below this amplitude the tone counts as silent.
constexpr double Inaudible = 1e-5;
constexpr double AttackSeconds = 0.005;

} // namespace

SoundGenerator::SoundGenerator(QObject* parent) : QIODevice(parent) {
    // Unbuffered: a buffer would read ahead 16 KB (0.19 s) of samples made before the frames
    // that follow.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SoundGenerator::follow(const SoundFrame& frame, const View::Sound& sound) {
    const std::lock_guard lock(mutex_);
    targetHertz_ = std::clamp(frame.toneHertz, ToneLowHertz, ToneHighHertz);
    targetAmplitude_ = sound.on ? std::clamp(frame.toneLevel * sound.volume, 0.0, 1.0) : 0.0;
    eventAmplitude_ = sound.on ? std::clamp(sound.volume, 0.0, 1.0) : 0.0;
    if (!sound.on) {
        playing_.clear();
        return;
    }
    if (amplitude_ < Inaudible) {
        hertz_ = targetHertz_; // a tone starting from silence needs no glide
    }
    for (SoundEvent event : frame.events) {
        const std::span<const SoundNote> motif = soundMotifOf(event);
        playing_.push_back({{motif.begin(), motif.end()}});
    }
}

qint64 SoundGenerator::bytesAvailable() const {
    // An endless stream: a sink may always read a buffer's worth.
    return QIODevice::bytesAvailable() + SampleRate / 10 * qint64(sizeof(qint16));
}

qint64 SoundGenerator::readData(char* data, qint64 maxSize) {
    const std::lock_guard lock(mutex_);
    const qint64 count = maxSize / qint64(sizeof(qint16));
    for (qint64 i = 0; i < count; ++i) {
        const double value = std::clamp(nextSample(), -1.0, 1.0);
        const auto sample = static_cast<qint16>(std::lround(value * 32767));
        std::memcpy(data + i * qint64(sizeof(qint16)), &sample, sizeof sample);
    }
    return count * qint64(sizeof(qint16));
}

qint64 SoundGenerator::writeData(const char*, qint64) {
    return -1; // read only
}

double SoundGenerator::nextSample() {
    amplitude_ += (targetAmplitude_ - amplitude_) * RampStep;
    double value = 0;
    if (amplitude_ >= Inaudible || targetAmplitude_ > 0) {
        hertz_ += (targetHertz_ - hertz_) * GlideStep;
        phase_ = std::fmod(phase_ + TwoPi * hertz_ / SampleRate, TwoPi);
        value = TonePeak * amplitude_ * std::sin(phase_);
    } else {
        amplitude_ = 0;
    }
    return value + nextEventSample();
}

double SoundGenerator::nextEventSample() {
    double value = 0;
    for (Playing& playing : playing_) {
        const SoundNote& note = playing.notes[playing.note];
        const double t = double(playing.sample) / SampleRate;
        // A soft attack, then a quadratic decay to nothing at the note's end: no clicks.
        const double decay = 1 - t / note.seconds;
        const double envelope = std::min(1.0, t / AttackSeconds) * decay * decay;
        playing.phase = std::fmod(playing.phase + TwoPi * note.hertz / SampleRate, TwoPi);
        value += EventPeak * eventAmplitude_ * envelope * std::sin(playing.phase);
        if (++playing.sample >= std::lround(note.seconds * SampleRate)) {
            playing.sample = 0;
            ++playing.note;
        }
    }
    std::erase_if(playing_, [](const Playing& p) { return p.note >= p.notes.size(); });
    return value;
}

} // namespace servo
