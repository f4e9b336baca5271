#pragma once

#include "core/lesson/View.h"

#include <memory>
#include <string>

namespace servo {

// A speech engine: says a text in a language (a code of languages()), cutting off whatever it
// was saying; stops saying it.
class Speaker {
public:
    virtual ~Speaker() = default;
    virtual void say(const std::string& text, const std::string& languageCode) = 0;
    virtual void stop() = 0;
};

// Qt TextToSpeech's default engine (speech-dispatcher on Linux), made when first needed; where
// no engine works it stays silent.
std::unique_ptr<Speaker> systemSpeaker();

// Speaks what a screen reader is told, without one, while the user has voicing on.
class Voicing {
public:
    // `speaker` null: the system's, made when first needed.
    explicit Voicing(std::unique_ptr<Speaker> speaker = nullptr);

    // After each frame: the view's new announcement, if voicing is on; turned off, whatever is
    // being said stops.
    void follow(const View& view);
    // A text asked for whole (the state's description), if voicing is on.
    void speak(const std::string& text, bool voicingOn);

    void setSpeaker(std::unique_ptr<Speaker> speaker) { speaker_ = std::move(speaker); }

private:
    std::unique_ptr<Speaker> speaker_;
    bool on_ = false; // voicing, as of the last frame
};

} // namespace servo
