#pragma once

#include "core/commands/Commands.h"
#include "core/lab/Lab.h"
#include "core/lesson/Challenge.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/Recording.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// The lab as the user drives it. Every input that a front end translates comes through here:
// each does what its handler does, a recording that runs notes it as its trace command, and
// while a recording plays the user's own inputs are ignored (each then returns false, or submit
// says why) until it ends or Panic/Stop ends it.
class Lesson {
public:
    explicit Lesson(Lab& lab);
    Lesson(const Lesson&) = delete;
    Lesson& operator=(const Lesson&) = delete;

    Lab& lab() { return lab_; }
    const Lab& lab() const { return lab_; }

    // An input as its trace line: a row of inputCommands (see inputLine), or "item WORD" for a
    // menu item (see itemWord), which perform does. Applies it and notes it while recording.
    // Empty, or why it was refused: a recording plays and the input does not work then
    // (InputWhilePlayingText; nothing changes), or what is wrong with the line.
    std::string submit(std::string_view line);

    // A menu item as servo::perform does it, noted. While a recording plays, only what changes
    // no input works: the speeds, the cues and the looks, the front end's boxes; Step runs the
    // replay's next pass at once, Panic/Stop ends the replay and stops the arm.
    // Whether it was done (not, while a replay plays, for an item that does not work then).
    bool perform(const MenuItem& item);
    // How an item shows: as servo::itemState, disabled while a replay plays what it ignores or
    // a challenge locks its control, Record captioned StopRecordingCaption while recording.
    ItemState itemState(const MenuItem& item, bool labPanelOpen) const;

    // A reset with the lesson's set-up applied again (see applyExperiment), then the
    // recording runs.
    void startRecording();
    bool recording() const { return recorder_.recording(); }
    // The recording's script; the recording ends.
    std::string stopRecording();

    // Loads a trace script and plays it from a reset, at the speed chosen now: empty, or what
    // is wrong with it (nothing then changes).
    std::string play(std::string_view script);
    bool playing() const { return player_.playing(); }
    void stopPlaying() { player_.stop(); }
    long long passesLeftToPlay() const { return player_.passesLeft(); }

    // Applies an experiment as read (see readExperiment, readExperimentLink) unless the reading
    // refused it or a replay plays (the user's input waits): empty, or why it was not applied
    // (the reading's error, or InputWhilePlayingText).
    std::string open(const ExperimentReading& reading);
    // Applies an experiment: it ends a replay, and a recording notes it.
    void apply(const Experiment& experiment);

    // Opens a challenge as read (see readChallenge): its set-up applied as an experiment, its
    // locks in force and its goals checked from the next running cycle on. Empty, or why not.
    std::string openChallenge(const ChallengeReading& reading);
    void startChallenge(Challenge challenge);
    // Opens a built-in challenge (see builtInChallenges) and starts recording the attempt:
    // empty, or why not. The challenge's name is kept for the hand-in.
    std::string openBuiltInChallenge(std::string_view name);
    // The same for a challenge as read (a file, a link), under the given built-in name if any.
    std::string attemptChallenge(const ChallengeReading& reading, const std::string& name = {});
    // The challenge ends: its locks are lifted, its goals no longer checked.
    void endChallenge();
    // The built-in challenge's name under way; empty for another or none.
    const std::string& challengeName() const { return challengeName_; }
    // Shows the challenge's next hint: whether there was one.
    bool showHint();
    int hintsShown() const { return hintsShown_; }
    // The lab's figures line at the cycle that decided the challenge; empty before.
    const std::string& verdictFigures() const { return verdictFigures_; }
    // The challenge under way and its goals' progress; null without one.
    const Attempt* attempt() const { return attempt_ ? &*attempt_ : nullptr; }
    // Why a menu item is refused while a challenge locks its control; empty when it is not.
    std::string lockReason(const MenuItem& item) const;

    // What has happened to the lesson since the last call, for a screen reader: a recording
    // started or stopped, a replay started or ended, an experiment opened, a challenge decided
    // ("Challenge met at cycle N"); or nothing.
    std::string takeNews();
    // "Recording", "Replaying: N steps to go", or nothing, for a status line.
    std::string status() const;

private:
    bool accepting() const { return !player_.playing(); }
    void beforePass();
    void afterPass();
    // A reset while a challenge is under way starts it again from its set-up.
    void restartChallenge();
    void note(const std::string& line) { recorder_.note(line); }
    // The words of a challenge's inputs (challenge-open NAME, challenge-hint, challenge-again: a
    // new attempt recorded from the set-up, challenge-end): empty,
    // or why refused; nullopt when the words are not one of them.
    std::optional<std::string> submitChallengeInput(const std::vector<std::string>& words);
    // Tells each goal that changed its state, then the verdict once decided.
    void tellGoalChanges(const std::vector<GoalProgress>& before);

    Lab& lab_;
    Recorder recorder_;
    Player player_;
    std::string news_;
    bool toldPlaying_ = false; // whether the news has told of the replay now playing
    std::optional<Attempt> attempt_;
    std::string challengeName_;
    int hintsShown_ = 0;
    std::string verdictFigures_;
    bool cycleDue_ = false;                // the pass under way runs a running cycle
    bool firstCycleDue_ = false;           // and it is the first, which sets the start pose
    std::array<double, 3> anglesBefore_{}; // the joints' angles before it, rad
};

} // namespace servo
