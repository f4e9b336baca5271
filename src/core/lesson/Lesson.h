#pragma once

#include "core/commands/Commands.h"
#include "core/lab/Lab.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/Recording.h"

#include <string>
#include <string_view>

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

    // An input as its trace line (see inputCommands and inputLine): applies it and notes it
    // while recording. Empty, or why it was refused: a recording plays (InputWhilePlayingText;
    // nothing changes), or what is wrong with the line.
    std::string submit(std::string_view line);

    bool targetKey(float dx, float dy); // see targetMovedByKey
    bool targetHome();
    // A press on any of the seven boxes, before its click.
    bool boxPressed(CheckBox box);
    // A box's click: its check mark toggles (an elbow box's then acts as its handler does; a
    // servo box's changes only its mark, which its press has noted).
    bool boxClicked(CheckBox box);
    bool schemeChosen(int servoType);
    // The lab's entries, as their controls give them: the gain in steps of GainStep within
    // 0..MaxGain, the damping within 0..MaxDampingLambda (not a number changes nothing), the
    // race's scheme by its servo type (0, or any type of no scheme, for no race).
    bool gainEntered(double gain);
    bool dampingEntered(double lambda);
    bool raceChosen(int servoType);

    // A menu item as servo::perform does it, noted. While a recording plays, only what changes
    // no input works: the speeds, the cues and the looks, the front end's boxes; Step runs the
    // replay's next pass at once, Panic/Stop ends the replay and stops the arm.
    void perform(const MenuItem& item);
    // How an item shows: as servo::itemState, disabled while a replay plays what it ignores,
    // Record captioned StopRecordingCaption while recording.
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
    // refused it or a replay plays (the user's input waits): whether it was applied.
    bool open(const ExperimentReading& reading);
    // Applies an experiment: it ends a replay, and a recording notes it.
    void apply(const Experiment& experiment);

    // What has happened to the lesson since the last call, for a screen reader: a recording
    // started or stopped, a replay started or ended, an experiment opened; or nothing.
    std::string takeNews();
    // "Recording", "Replaying: N steps to go", or nothing, for a status line.
    std::string status() const;

private:
    bool accepting() const { return !player_.playing(); }
    // Does an input unless a replay plays: whether it was done.
    template <class Act> bool accept(Act act) {
        if (!accepting()) {
            return false;
        }
        act();
        return true;
    }
    void note(const std::string& line) { recorder_.note(line); }

    Lab& lab_;
    Recorder recorder_;
    Player player_;
    std::string news_;
    bool toldPlaying_ = false; // whether the news has told of the replay now playing
};

} // namespace servo
