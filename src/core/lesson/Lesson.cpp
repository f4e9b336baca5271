#include "core/lesson/Lesson.h"

#include "core/dynamics/Integrator.h"
#include "core/dynamics/MotorLaws.h"
#include "core/dynamics/StepResponse.h"
#include "core/lab/LabSample.h"
#include "core/lesson/BuiltInChallenges.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
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
    case Command::Dynamics:
    case Command::MotorLaw:
        return false;
    default:
        return true;
    }
}

} // namespace

Lesson::Lesson(Lab& lab) : lab_(lab) {
    lab_.setPassHooks([this] { beforePass(); }, [this] { afterPass(); });
}

void Lesson::beforePass() {
    if (player_.playing()) {
        player_.beforePass(lab_);
    }
    const SimulationState& state = lab_.simulation().state();
    cycleDue_ = state.runState == RunRunning || state.stepPending == 1;
    anglesBefore_ = {state.shoulderAngle, state.elbowAngle, state.wristAngle};
    if (state.firstCycle == 1) { // that cycle puts the arm at its start pose before the servo steps
        constexpr double RadiansPerDegree = std::numbers::pi / 180;
        for (std::size_t joint = 0; joint < anglesBefore_.size(); ++joint) {
            anglesBefore_[joint] = state.startPoseDegrees[joint] * RadiansPerDegree;
        }
    }
}

void Lesson::afterPass() {
    recorder_.passed();
    if (!attempt_ || !cycleDue_) {
        return;
    }
    const SimulationState& state = lab_.simulation().state();
    const LabSample sample = sampleOf(state, lab_.simulation().controls().wristScrollPosition());
    const ResponseFigures response = responseFigures(state.dynamics.response);
    CycleFacts facts;
    facts.error = sample.error;
    facts.outOfReach = isOutOfReach(state, sample);
    facts.manipulability = manipulabilityOf(state).w;
    facts.overshoot = response.overshoot;
    facts.settling = response.settling;
    facts.secondsSinceChange = state.dynamics.response.cycles * LabStepSeconds;
    const std::array<double, 3> angles{state.shoulderAngle, state.elbowAngle, state.wristAngle};
    for (std::size_t joint = 0; joint < angles.size(); ++joint) {
        facts.jointStep = std::max(facts.jointStep, std::abs(angles[joint] - anglesBefore_[joint]));
    }
    facts.torque = state.dynamics.response.peakTorque;
    facts.gain = state.gain;
    facts.ownLaw = state.servoType == ServoOwnLaw ||
                   (state.dynamics.on && state.dynamics.motorLaw == MotorLaw::Own);
    const std::vector<GoalProgress> before = attempt_->progress();
    const bool pending = attempt_->verdict() == GoalStatus::Pending;
    attempt_->afterCycle(facts);
    tellGoalChanges(before);
    if (pending && attempt_->verdict() != GoalStatus::Pending) {
        verdictFigures_ = lab_.figures();
        news_ += (news_.empty() ? "" : " ") + attempt_->verdictText();
        news_ += verdictFigures_.empty() ? "" : ". " + verdictFigures_;
    }
}

void Lesson::tellGoalChanges(const std::vector<GoalProgress>& before) {
    const std::vector<GoalProgress>& now = attempt_->progress();
    for (std::size_t i = 0; i < now.size() && i < before.size(); ++i) {
        if (now[i].status == before[i].status) {
            continue;
        }
        const char* change =
            now[i].status == GoalStatus::Met ? N_("Goal met: %s") : N_("Goal failed: %s");
        news_ += (news_.empty() ? "" : " ") +
                 filled(tr(change), {goalText(attempt_->challenge().goals[i])});
    }
}

void Lesson::restartChallenge() {
    if (attempt_) {
        startChallenge(attempt_->challenge());
    }
}

std::string Lesson::openChallenge(const ChallengeReading& reading) {
    if (!reading.challenge) {
        return reading.error;
    }
    if (!accepting()) {
        return tr(ReplayHoldsInputText);
    }
    challengeName_.clear();
    hintsShown_ = 0;
    startChallenge(*reading.challenge);
    const Challenge& challenge = attempt_->challenge();
    news_ = filled(tr("Challenge: %s."), {tr(challenge.title)}) + " " + tr(challenge.task);
    return {};
}

std::string Lesson::openBuiltInChallenge(std::string_view name) {
    const BuiltInChallenge* builtIn = builtInChallenge(name);
    if (builtIn == nullptr) {
        return filled(tr("no built-in challenge %s"), {quoted(std::string(name))});
    }
    return attemptChallenge(readChallenge(builtIn->text), builtIn->name);
}

std::string Lesson::attemptChallenge(const ChallengeReading& reading, const std::string& name) {
    if (std::string error = openChallenge(reading); !error.empty()) {
        return error;
    }
    challengeName_ = name;
    const std::string told = news_;
    startRecording(); // the attempt is recorded from the set-up, for the hand-in
    news_ = told + " " + tr(RecordingStartedAnnouncement);
    return {};
}

void Lesson::endChallenge() {
    attempt_.reset();
    challengeName_.clear();
    hintsShown_ = 0;
}

bool Lesson::showHint() {
    if (!attempt_ || hintsShown_ >= static_cast<int>(attempt_->challenge().hints.size())) {
        return false;
    }
    const std::string& hint = attempt_->challenge().hints[static_cast<std::size_t>(hintsShown_)];
    ++hintsShown_;
    news_ = filled(tr("Hint: %s"), {tr(hint)});
    return true;
}

std::optional<std::string> Lesson::submitChallengeInput(const std::vector<std::string>& words) {
    if (words.empty()) {
        return std::nullopt;
    }
    if (words[0] == "challenge-open") {
        if (std::string error = argumentsError(words, 1); !error.empty()) {
            return error;
        }
        return openBuiltInChallenge(words[1]);
    }
    const std::string& word = words[0];
    if (word != "challenge-hint" && word != "challenge-again" && word != "challenge-end") {
        return std::nullopt;
    }
    if (std::string error = argumentsError(words, 0); !error.empty()) {
        return error;
    }
    if (!attempt_) {
        return tr("no challenge is under way");
    }
    if (word == "challenge-hint") {
        return showHint() ? "" : tr("the challenge has no more hints");
    }
    if (word == "challenge-again") {
        startRecording(); // a new attempt, recorded from the set-up
    } else {
        endChallenge();
    }
    return "";
}

void Lesson::startChallenge(Challenge challenge) {
    apply(challenge.setUp);
    attempt_.emplace(std::move(challenge));
}

std::string Lesson::lockReason(const MenuItem& item) const {
    return attempt_ ? lockedItem(attempt_->challenge().locks, item.command) : std::string();
}

std::string Lesson::submit(std::string_view line) {
    const std::vector<std::string> words = splitWords(std::string(line));
    if (!words.empty() && words[0] == ItemInputWord) {
        if (std::string error = argumentsError(words, 1); !error.empty()) {
            return error;
        }
        const MenuItem* item = itemOfWord(words[1]);
        if (item == nullptr) {
            return filled(tr("no menu item %s"), {quoted(words[1])});
        }
        if (std::string locked = lockReason(*item); !locked.empty()) {
            return locked;
        }
        return perform(*item) ? "" : tr(InputWhilePlayingText);
    }
    if (!accepting()) {
        return tr(InputWhilePlayingText);
    }
    if (std::optional<std::string> done = submitChallengeInput(words)) {
        return *done;
    }
    if (attempt_) {
        if (std::string locked = lockedInput(attempt_->challenge().locks, words); !locked.empty()) {
            return locked;
        }
    }
    if (std::string error = runInputCommand(&lab_, words); !error.empty()) {
        return error;
    }
    if (words[0] == "reset" && attempt_) {
        note("reset");
        restartChallenge();
        return {};
    }
    const InputCommand& command = *inputCommandNamed(words[0]);
    std::string noted = words[0];
    if (command.noted != nullptr) {
        noted = command.noted(lab_, words);
    } else {
        for (std::size_t i = 1; i < words.size(); ++i) {
            noted += " " + words[i];
        }
    }
    for (std::size_t start = 0; start < noted.size();) {
        const std::size_t end = std::min(noted.find('\n', start), noted.size());
        note(noted.substr(start, end - start));
        start = end + 1;
    }
    return {};
}

bool Lesson::perform(const MenuItem& item) {
    if (playing()) {
        if (item.command == Command::Step) {
            lab_.pass();
            return true;
        }
        if (item.command == Command::Stop) {
            player_.stop();
        }
        if (!worksWhilePlaying(item.command)) {
            return false;
        }
    }
    if (!lockReason(item).empty()) {
        return false;
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
        restartChallenge();
        break;
    case Command::Dynamics:
        note(state.dynamics.on ? "dynamics on" : "dynamics off");
        break;
    case Command::MotorLaw:
        note(std::string("motor ") + motorLawRow(state.dynamics.motorLaw).word);
        break;
    default:
        break;
    }
    return true;
}

ItemState Lesson::itemState(const MenuItem& item, bool labPanelOpen) const {
    ItemState shown = servo::itemState(item, lab_, labPanelOpen);
    if (playing() && !worksWhilePlaying(item.command)) {
        shown.enabled = false;
    }
    if (!lockReason(item).empty()) {
        shown.enabled = false; // the challenge locks its control
    }
    if (item.command == Command::Record && recording()) {
        shown.caption = StopRecordingCaption;
    }
    return shown;
}

void Lesson::startRecording() {
    player_.stop();
    // From a reset, with the lesson's set-up as it is: the scheme, target, cues and the rest.
    // With a challenge under way, from its set-up: the recording is an attempt at it.
    const Experiment setUp = attempt_ ? attempt_->challenge().setUp : experimentOf(lab_, false);
    applyExperiment(lab_, setUp);
    recorder_.start(setUp);
    if (attempt_) {
        Challenge challenge = attempt_->challenge();
        attempt_.emplace(std::move(challenge));
    }
    news_ = tr(RecordingStartedAnnouncement);
}

std::string Lesson::stopRecording() {
    if (!recorder_.recording()) {
        return {};
    }
    news_ = tr(RecordingStoppedAnnouncement);
    return recorder_.finish();
}

std::string Lesson::play(std::string_view script) {
    if (std::string error = player_.load(script); !error.empty()) {
        return error;
    }
    if (recorder_.recording()) {
        recorder_.finish(); // a replay is not the user's input
    }
    endChallenge(); // the replay sets its own set-up up
    const int speed = lab_.settings().speed;
    lab_.reset();
    lab_.setSpeed(speed);
    news_ = tr(ReplayStartedAnnouncement);
    toldPlaying_ = true;
    return {};
}

std::string Lesson::open(const ExperimentReading& reading) {
    if (!reading.experiment) {
        return reading.error;
    }
    if (!accepting()) {
        return tr(ReplayHoldsInputText);
    }
    endChallenge(); // another set-up: the challenge ends
    apply(*reading.experiment);
    return {};
}

void Lesson::apply(const Experiment& experiment) {
    player_.stop();
    applyExperiment(lab_, experiment);
    recorder_.noteExperiment(experiment);
    news_ = tr(ExperimentOpenedAnnouncement);
}

std::string Lesson::takeNews() {
    if (toldPlaying_ && !player_.playing()) {
        toldPlaying_ = false;
        news_ += (news_.empty() ? "" : " ") + std::string(tr(ReplayEndedAnnouncement));
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
