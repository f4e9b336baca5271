#pragma once

#include "core/access/Announcer.h"
#include "core/access/PacedText.h"
#include "core/access/Sonifier.h"
#include "core/commands/Commands.h"
#include "core/lesson/ChallengeView.h"
#include "core/lesson/Lesson.h"
#include "core/state/ControlBoxes.h"

#include <array>
#include <string>
#include <vector>

namespace servo {

// Everything a front end shows of the lesson after a pass, in the language now chosen: the
// column of controls, the menus, the lab panel's values, the status badge and what a screen
// reader is to hear. A front end only lays it out and paints it; the picture, the cues and the
// plot come as display lists from their surfaces.
struct View {
    struct Box {
        std::string caption;
        bool checked = false;
        bool visible = true;
        bool enabled = true; // false while a recording plays
        bool operator==(const Box&) const = default;
    };
    struct Item {
        std::string word;    // what "item WORD" names (see itemWord)
        std::string caption; // '&' before the mnemonic letter
        bool checked = false;
        bool enabled = true;
        bool operator==(const Item&) const = default;
    };
    // The dynamics mode's row of the lab panel.
    struct Dynamics {
        bool on = false;
        int motorLaw = 0;            // place in motorLaws()
        double naturalFrequency = 0; // rad/s
        double dampingRatio = 0;
        double modelErrorPercent = 0; // the controller's masses off by this much
        bool modelIgnoresObject = false;
        std::string gains; // the gains the tuning gives the motor law (see gainsText)
        bool operator==(const Dynamics&) const = default;
    };
    struct LabValues {
        double gain = 1;
        int gainSlider = 0; // the gain in steps of GainStep
        int speed = 0;      // index into Speeds
        int scheme = 0;     // place in schemeChoices()
        int race = 0;       // place in raceChoices()
        double damping = 0; // arm units
        bool projector = false;
        bool highContrast = false;
        bool trueProportions = false; // the picture's (see PictureMap)
        // The gain, scheme, race, damping and dynamics; false while a recording plays.
        bool enabled = true;
        std::string figures; // the line under the plot
        Dynamics dynamics;
        bool operator==(const LabValues&) const = default;
    };

    std::array<Box, CheckBoxCount> boxes; // box N at N - 1
    int wristScroll = 0;
    bool columnEnabled = true; // the scroll bar and the three buttons
    std::string pathCaption;
    std::string explanation; // lines end in a line feed
    std::vector<Item> menuBar;
    std::vector<Item> labMenu;
    LabValues lab;
    std::string status; // "Recording", "Replaying: N steps to go" or empty
    bool recording = false;
    bool playing = false;
    int runState = 0;
    // Whether the user has turned the sound on, and its volume (0 to 1); what to play comes
    // with each frame (see Viewer::sound).
    struct Sound {
        bool on = false;
        double volume = 0;
        bool operator==(const Sound&) const = default;
    };
    Sound sound;
    // The student's law (the scheme "Your law"): its source; "empty", "running" or "stopped";
    // whether it has a torque law; and what stopped it, the line (0: none) and the message in
    // the language chosen.
    struct Law {
        std::string source;
        std::string status;
        bool torque = false;
        int errorLine = 0;
        std::string error;
        std::string statusText; // the state in words, for the editor and a screen reader
        bool operator==(const Law&) const = default;
    };
    Law law;
    ChallengeView challenge;
    bool voicing = false; // the announcements are to be spoken without a screen reader
    // What a screen reader is to hear now, and the picture's accessible name when it is to
    // change now; empty when nothing is new.
    std::string announcement;
    std::string pictureName;

    bool operator==(const View&) const = default;
};

// The view of a lesson as it stands, without the paced announcements and the sound's tone and
// events.
View viewOf(const Lesson& lesson, bool labPanelOpen);

// The view as JSON, a member a line; the menus' captions without their mnemonic marks and
// each item's mnemonic letter beside them.
std::string viewJson(const View& view);

// Makes the view after each pass, pacing what a screen reader hears (see Announcer).
class Viewer {
public:
    // The view after a pass, `nowSeconds` on any steady clock; takes the lesson's news.
    View afterPass(Lesson& lesson, bool labPanelOpen, double nowSeconds);
    // What to play after the last pass (see Sonifier); kept up whether it is heard or not, so
    // that turning the sound on plays no stale events.
    const SoundFrame& sound() const { return sound_; }

private:
    Announcer announcer_;
    Sonifier sonifier_;
    SoundFrame sound_;
    PacedText pictureName_{Announcer::MinimumGapSeconds};
    long long lawErrorsTold_ = 0; // the student's law's errors the announcements have told
};

} // namespace servo
