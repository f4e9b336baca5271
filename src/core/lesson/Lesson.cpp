#include "core/lesson/Lesson.h"

#include "core/lesson/InputCommands.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace servo {

namespace {

// The items that work while a recording plays.
bool worksWhilePlaying(Command command) {
    switch (command) {
    case Command::Run:
    case Command::Grid:
    case Command::GainUp:
    case Command::GainDown:
    case Command::Reset:
    case Command::Record:
    case Command::PlayRecording:
    case Command::OpenExperiment:
        return false;
    default:
        return true;
    }
}

} // namespace

Lesson::Lesson(Lab& lab) : lab_(lab) {
    lab_.setPassHooks(
        [this] {
            if (player_.playing()) {
                player_.beforePass(lab_);
            }
        },
        [this] { recorder_.passed(); });
}

std::string Lesson::submit(std::string_view line) {
    if (!accepting()) {
        return tr(InputWhilePlayingText);
    }
    const std::vector<std::string> words = splitWords(std::string(line));
    if (std::string error = runInputCommand(&lab_, words); !error.empty()) {
        return error;
    }
    const InputCommand& command = *inputCommandNamed(words[0]);
    if (command.worthNoting == nullptr || command.worthNoting(lab_)) {
        std::string noted = words[0];
        for (std::size_t i = 1; i < words.size(); ++i) {
            noted += " " + words[i];
        }
        note(noted);
    }
    return {};
}

bool Lesson::targetKey(float dx, float dy) {
    return accept([&] {
        SimulationState& state = lab_.simulation().state();
        targetMovedByKey(state, lab_.simulation().surface(), dx, dy);
        note("press " + exactCoordinate(static_cast<float>(state.targetX)) + " " +
             exactCoordinate(static_cast<float>(state.targetY)));
        note("release");
    });
}

bool Lesson::targetHome() {
    return accept([&] {
        targetHomeKey(lab_.simulation().state(), lab_.simulation().surface());
        note("press " + exactCoordinate(StartUpTargetX) + " " + exactCoordinate(StartUpTargetY));
        note("release");
    });
}

bool Lesson::boxPressed(CheckBox box) {
    return accept([&] {
        checkBoxPressed(lab_.simulation().state(), lab_.simulation().controls(), box);
        // A servo box acts on its press; "servo N" presses and toggles it, so its click that
        // follows is not noted again.
        if (const ServoScheme* scheme = servoSchemeOf(box)) {
            note("servo " + std::to_string(scheme->servoType));
        }
    });
}

bool Lesson::boxClicked(CheckBox box) {
    return accept([&] {
        lab_.simulation().controls().toggle(box);
        if (const ElbowConfiguration* configuration = elbowConfigurationOf(box)) {
            note(std::string("elbow ") + configuration->name);
        }
    });
}

bool Lesson::schemeChosen(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    if (!accepting() || scheme == nullptr) {
        return false;
    }
    Controls& controls = lab_.simulation().controls();
    // "scheme" of a box's scheme presses and toggles its box; this leaves it checked.
    const bool wasChecked = scheme->box != NoBox && controls.isChecked(scheme->box);
    servo::schemeChosen(lab_.simulation().state(), controls, servoType);
    if (!wasChecked) {
        note(std::string("scheme ") + scheme->name);
    }
    return true;
}

bool Lesson::gainEntered(double gain) {
    if (!std::isfinite(gain)) {
        return accepting();
    }
    return submit(
               inputLine("gain", std::clamp(std::round(gain / GainStep) * GainStep, 0.0, MaxGain)))
        .empty();
}

bool Lesson::dampingEntered(double lambda) {
    if (std::isnan(lambda)) {
        return accepting();
    }
    return submit(inputLine("lambda", std::clamp(lambda, 0.0, MaxDampingLambda))).empty();
}

bool Lesson::raceChosen(int servoType) {
    return submit(inputLine("race", raceSchemeWord(servoSchemeOf(servoType) ? servoType : 0)))
        .empty();
}

void Lesson::perform(const MenuItem& item) {
    if (playing()) {
        if (item.command == Command::Step) {
            lab_.pass();
            return;
        }
        if (item.command == Command::Stop) {
            player_.stop();
        }
        if (!worksWhilePlaying(item.command)) {
            return;
        }
    }
    servo::perform(item, lab_);
    SimulationState& state = lab_.simulation().state();
    switch (item.command) {
    case Command::Run:
        note("run");
        break;
    case Command::Stop:
        note("stop");
        break;
    case Command::Grid:
        note("grid");
        break;
    case Command::Step:
        note("step");
        break;
    case Command::GainUp:
    case Command::GainDown:
        note("gain " + exactNumber(state.gain));
        break;
    case Command::Reset:
        note("reset");
        break;
    default:
        break;
    }
}

ItemState Lesson::itemState(const MenuItem& item, bool labPanelOpen) const {
    ItemState shown = servo::itemState(item, lab_, labPanelOpen);
    if (playing() && !worksWhilePlaying(item.command)) {
        shown.enabled = false;
    }
    if (item.command == Command::Record && recording()) {
        shown.caption = StopRecordingCaption;
    }
    return shown;
}

void Lesson::startRecording() {
    player_.stop();
    // From a reset, with the lesson's set-up as it is: the scheme, target, cues and the rest.
    const Experiment setUp = experimentOf(lab_, false);
    applyExperiment(lab_, setUp);
    recorder_.start(setUp);
    news_ = RecordingStartedAnnouncement;
}

std::string Lesson::stopRecording() {
    if (!recorder_.recording()) {
        return {};
    }
    news_ = RecordingStoppedAnnouncement;
    return recorder_.finish();
}

std::string Lesson::play(std::string_view script) {
    if (std::string error = player_.load(script); !error.empty()) {
        return error;
    }
    if (recorder_.recording()) {
        recorder_.finish(); // a replay is not the user's input
    }
    const int speed = lab_.settings().speed;
    lab_.reset();
    lab_.setSpeed(speed);
    news_ = ReplayStartedAnnouncement;
    toldPlaying_ = true;
    return {};
}

bool Lesson::open(const ExperimentReading& reading) {
    if (!reading.experiment || !accepting()) {
        return false;
    }
    apply(*reading.experiment);
    return true;
}

void Lesson::apply(const Experiment& experiment) {
    player_.stop();
    applyExperiment(lab_, experiment);
    recorder_.noteExperiment(experiment);
    news_ = ExperimentOpenedAnnouncement;
}

std::string Lesson::takeNews() {
    if (toldPlaying_ && !player_.playing()) {
        toldPlaying_ = false;
        news_ += (news_.empty() ? "" : " ") + std::string(ReplayEndedAnnouncement);
    }
    return std::exchange(news_, {});
}

std::string Lesson::status() const {
    if (player_.playing()) {
        const long long left = player_.passesLeft();
        return filled(
            trn("Replaying: %s step to go", "Replaying: %s steps to go", static_cast<long>(left)),
            {std::to_string(left)});
    }
    return recorder_.recording() ? tr(RecordingStatus) : "";
}

} // namespace servo
