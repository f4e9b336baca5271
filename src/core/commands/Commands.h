#pragma once

#include "core/language/Translation.h"

#include "core/lab/Lab.h"

#include <functional>
#include <string>
#include <vector>

namespace servo {

// What a menu item, its keys or a lab control does.
enum class Command {
    Run,
    Stop,
    Grid,
    About,    // the front end shows the About box (see Lab::setModalOpen)
    Quit,     // the front end closes its window
    LabPanel, // the front end shows or hides the lab panel
    Speed,    // item.index: which of Speeds
    Slower,
    Faster,
    Step,
    GainShown, // the gain as a caption; does nothing
    GainUp,
    GainDown,
    Cue, // item.index: which of Cues
    Projector,
    HighContrast,
    TrueProportions,
    Reset,
    Describe, // the front end tells the whole state to the screen reader (Announcer::wholeState)
    Keys,     // the front end shows the keys help (keyHelp)
    // The front end's, through its Lesson: a recording starts, or ends and is saved; a recording
    // is loaded and played; an experiment is saved, opened or put in a link; the plot's data
    // or the picture is exported.
    Record,
    PlayRecording,
    SaveExperiment,
    OpenExperiment,
    CopyLink,
    ExportPlotData,
    ExportPicture,
    Language,   // item.index: which of languages(); the front end then shows its texts anew
    Sound,      // the front end plays the view's sound while it is on
    Voicing,    // the front end speaks the view's announcements while it is on
    Volume,     // item.index: which of SoundVolumes
    Dynamics,   // the dynamics mode on or off
    MotorLaw,   // item.index: which of motorLaws()
    LawEditor,  // the front end shows the editor of the student's law
    Challenges, // the front end shows the Challenges dialog
};

// The front ends that show an item.
enum class Edition { Both, Desktop, Page };

enum class Check { None, Box, Radio };

// One item of the menu bar or of the Lab menu, as both front ends build it.
struct MenuItem {
    Command command;
    const char* name;    // the item's own name: an object name, an element id
    std::string caption; // '&' stands before the mnemonic letter
    std::string keys;    // "F5", "Esc", "Ctrl+G", "Ctrl+Up", "Ctrl+[": none when empty
    Check check = Check::None;
    int index = 0;                 // which speed or cue
    bool separatorBefore = false;  // a rule above the item
    const char* submenu = nullptr; // the caption of the submenu the item stands in, if any
    Edition edition = Edition::Both;
};

// "&Run", "Panic/&Stop", "&Grid", "&About", then "&Lab" (whose items are labMenuItems), and
// Quit, which has keys but stands in no menu (the window's alone: edition Desktop).
const std::vector<MenuItem>& menuBarItems();
inline constexpr const char* LabMenuCaption = N_("&Lab");
inline constexpr const char* LabMenuName = "lab";
const std::vector<MenuItem>& labMenuItems();
// The Record item's caption while a recording runs.
inline constexpr const char* StopRecordingCaption = N_("Stop Re&cording");

// The lab panel's own captions; its other controls take their items' captions.
inline constexpr const char* LabPanelTitle = N_("Lab");
inline constexpr const char* GainCaption = N_("Gain");
inline constexpr const char* GainSliderCaption = N_("Gain slider");
inline constexpr const char* PlotCaption = N_("Error plot");
// The lab panel's scheme row: every scheme (the servo boxes' three and the lab's), the race's
// scheme (or none, see RaceArm) and the damping of damped least squares.
inline constexpr const char* SchemeCaption = N_("Scheme");
inline constexpr const char* DampingCaption = N_("Damping (lambda)");
inline constexpr double DampingStep = 0.5; // arm units
// The lab panel's dynamics row: the Dynamics box and the motor law (the Lab menu's items), the
// tuning (sent as "tune WN ZETA"), the model error ("model-error PERCENT"), whether the model
// knows the held object ("model-object known|ignored") and the gains the tuning gives.
inline constexpr const char* NaturalFrequencyCaption = N_("Natural frequency (rad/s)");
inline constexpr const char* DampingRatioCaption = N_("Damping ratio");
inline constexpr const char* ModelErrorCaption = N_("Model error (percent)");
inline constexpr const char* ModelIgnoresObjectCaption = N_("Model ignores the object");
inline constexpr const char* DerivedGainsCaption = N_("Gains");
inline constexpr double NaturalFrequencyStep = 1; // rad/s
inline constexpr double DampingRatioStep = 0.1;
inline constexpr double ModelErrorStep = 10; // percent
// The editor of the student's law (a window of its own): the source in Lua, a list of the
// examples to start from, Apply (sends "own-law WORD", see lawArgument) and the law's state.
inline constexpr const char* LawEditorTitle = N_("Your Law");
inline constexpr const char* LawSourceCaption = N_("Your law in Lua");
inline constexpr const char* LawExampleCaption = N_("Example");
inline constexpr const char* UseExampleCaption = N_("Use Example");
inline constexpr const char* ApplyLawCaption = N_("Apply");
// Not the gripper's "Close", which some languages say as "squeeze".
inline constexpr const char* CloseLawEditorCaption = N_("Close Editor");
inline constexpr const char* LawEditorHelp =
    N_("Tab indents; Esc leaves the editor. Apply runs the law under the scheme \"Your law\".");
// The Challenges dialog (a window of its own): the built-in challenges' list, the challenge
// under way (see ChallengeView) and its buttons, each sending its input line: Start
// ("challenge-open NAME"), Start Again ("challenge-again"), Show Hint ("challenge-hint"), End
// ("challenge-end"); Hand In saves or downloads the attempt and its summary (see handIn).
inline constexpr const char* ChallengesTitle = N_("Challenges");
inline constexpr const char* ChallengeListCaption = N_("Challenges, easy to hard");
inline constexpr const char* StartChallengeCaption = N_("Start");
inline constexpr const char* StartAgainCaption = N_("Start Again");
inline constexpr const char* ShowHintCaption = N_("Show Hint");
inline constexpr const char* HandInCaption = N_("Hand In...");
inline constexpr const char* EndChallengeCaption = N_("End Challenge");
inline constexpr const char* GoalsCaption = N_("Goals");
inline constexpr const char* HintsCaption = N_("Hints");
inline constexpr const char* NoChallengeText =
    N_("No challenge is under way. Choose one and press Start: the attempt is recorded from its "
       "set-up, so that it can be handed in and checked.");
// After Hand In: the two files' names.
inline constexpr const char* HandedInText = N_("Handed in: %s and %s.");
// The page's button that closes its Challenges dialog (the window's has its title bar's).
inline constexpr const char* CloseChallengesCaption = N_("Close Challenges");
const MenuItem& menuItem(Command command, int index = 0);

// How an item shows now: checked, enabled, and its caption (the gain's changes).
struct ItemState {
    bool checked = false;
    bool enabled = true;
    std::string caption;
};
ItemState itemState(const MenuItem& item, const Lab& lab, bool labPanelOpen);

// Does what the item says to the simulation and the lab. The front end's own commands
// (About, Quit, LabPanel, Describe, Keys) change nothing here; the front end acts on them.
void perform(const MenuItem& item, Lab& lab);
bool isFrontEndCommand(Command command);
// An item's word in an input line ("item WORD", see Lesson::submit): its name, with its index
// for the items that share a name ("speed2", "cue0", "language1").
std::string itemWord(const MenuItem& item);
// The item of the menu bar or the Lab menu of a word, or nullptr.
const MenuItem* itemOfWord(const std::string& word);
inline constexpr const char* ItemInputWord = "item";

// Whether an edition (Desktop or Page) shows the item.
bool shownIn(const MenuItem& item, Edition edition);

// Every key of an edition (Desktop or Page) with what it does, for its keys help: the keys of
// the menu items it shows, the keys of the picture (the target), Alt with an underlined letter
// and Tab.
struct KeyHelpRow {
    std::string keys;
    std::string what;
};
std::vector<KeyHelpRow> keyHelp(Edition edition);
inline constexpr const char* KeysHelpTitle = N_("Keys");

// The keys of the picture while it has the keyboard focus.
inline constexpr const char* TargetKeysHelp = N_("Up, Down, Left, Right");
inline constexpr const char* FineTargetKeysHelp =
    N_("Shift+Up, Shift+Down, Shift+Left, Shift+Right");
inline constexpr const char* HomeTargetKeyHelp = N_("Home");

// A caption without its mnemonic mark: "Pro&jector Mode" -> "Projector Mode".
std::string plainCaption(const std::string& caption);
// The mnemonic letter of a caption (one UTF-8 character) in lower case, or an empty text.
std::string mnemonicOf(const std::string& caption);

} // namespace servo
