#include "desktop/Voicing.h"

#include "core/language/Translation.h"

#include <QLocale>
#include <QTextToSpeech>

namespace servo {

namespace {

class SystemSpeaker : public Speaker {
public:
    void say(const std::string& text, const std::string& languageCode) override {
        if (!engine_) {
            engine_ = std::make_unique<QTextToSpeech>();
        }
        if (engine_->state() == QTextToSpeech::Error) {
            return; // no engine: silent
        }
        chooseLanguage(languageCode);
        stop(); // a new message cuts the old one
        engine_->say(QString::fromStdString(text));
    }

    void stop() override {
        if (engine_ && engine_->state() == QTextToSpeech::Speaking) {
            engine_->stop();
        }
    }

private:
    // A voice of the language if the engine has one; else the engine's own choice.
    void chooseLanguage(const std::string& code) {
        if (code == language_) {
            return;
        }
        language_ = code;
        const QLocale::Language wanted = QLocale(QString::fromStdString(code)).language();
        for (const QLocale& locale : engine_->availableLocales()) {
            if (locale.language() == wanted) {
                engine_->setLocale(locale);
                return;
            }
        }
    }

    std::unique_ptr<QTextToSpeech> engine_;
    std::string language_;
};

} // namespace

std::unique_ptr<Speaker> systemSpeaker() {
    return std::make_unique<SystemSpeaker>();
}

Voicing::Voicing(std::unique_ptr<Speaker> speaker)
    : speaker_(speaker ? std::move(speaker) : systemSpeaker()) {}

void Voicing::follow(const View& view) {
    if (on_ && !view.voicing) {
        speaker_->stop();
    }
    on_ = view.voicing;
    speak(view.announcement, view.voicing);
}

void Voicing::speak(const std::string& text, bool voicingOn) {
    if (voicingOn && !text.empty()) {
        speaker_->say(text, languageCode());
    }
}

} // namespace servo
