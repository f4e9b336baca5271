#pragma once

#include "desktop/SoundGenerator.h"

#include <memory>

class QAudioSink;

namespace servo {

// The window's speakers: plays the generator's samples on the default audio output. Nothing
// touches the audio system before the user first turns the sound on; where there is no output
// (or it will not open) the program runs on silently.
class SoundOutput {
public:
    SoundOutput();
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // After each frame: what to play, and whether and how loud.
    void play(const SoundFrame& frame, const View::Sound& sound);

    SoundGenerator& generator() { return generator_; }
    // Whether a sink plays the samples (false before the sound is first on, or without an
    // output).
    bool playing() const { return sink_ != nullptr; }

private:
    void start();

    SoundGenerator generator_;
    std::unique_ptr<QAudioSink> sink_;
    bool started_ = false;
};

} // namespace servo
