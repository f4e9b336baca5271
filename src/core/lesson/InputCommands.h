#pragma once

#include "core/lab/Lab.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// The user's inputs as lines of a trace script, one row each: its word and arguments, how they
// parse and what it does to a lab, and what a recording notes of it. Front ends send an input
// as its line (Lesson::submit); a replay and the trace driver run the same rows. "cycles N"
// (the passes between inputs) is left to whoever runs the script.
struct InputCommand {
    const char* name;
    std::size_t arguments;
    // Does it; empty, or what is wrong with an argument (the lab then is as it was). With no
    // lab it only checks the arguments.
    std::function<std::string(Lab* lab, const std::vector<std::string>& words)> run;
    // What a recording notes of it, from the lab as it left it: trace lines (a line feed
    // between them), or nothing when it is not worth a line (a pointer move without a drag).
    // None: the input's own line.
    std::string (*noted)(const Lab& lab, const std::vector<std::string>& words) = nullptr;
};
const std::vector<InputCommand>& inputCommands();
const InputCommand* inputCommandNamed(const std::string& name);

// Runs a line's words (the first is an input command's name) on the lab, or with none only
// checks them: empty, or what is wrong.
std::string runInputCommand(Lab* lab, const std::vector<std::string>& words);

// An input's line from its word and arguments, numbers written so that they read back exactly.
std::string inputLine(std::string_view word);
std::string inputLine(std::string_view word, float x, float y); // a point, window units
std::string inputLine(std::string_view word, double number);
std::string inputLine(std::string_view word, int number);
std::string inputLine(std::string_view word, std::string_view argument);
// The dynamics row's inputs: the tuning, and whether the model knows the held object.
std::string tuneLine(double naturalFrequency, double dampingRatio);
std::string modelObjectLine(bool ignored);
std::string inputLine(std::string_view word, std::string_view first, std::string_view second);

// A choice of a list control (the lab's scheme and race boxes): its caption (English) and the
// input line that chooses it.
struct InputChoice {
    std::string caption;
    std::string line;
};
// The lab's schemes in their places, then the race's: "none", then the same schemes.
std::vector<InputChoice> schemeChoices();
std::vector<InputChoice> raceChoices();

// The input line of a key pressed while the picture has the keyboard focus: "Left", "Right",
// "Up", "Down" move the target TargetKeyStep (with Shift TargetKeyFineStep), "Home" puts it
// back; empty for any other key, which the front end leaves to its menus.
std::string pictureKeyLine(std::string_view key, bool shift);
inline constexpr std::array<const char*, 5> PictureKeys{"Left", "Right", "Up", "Down", "Home"};

// The longest step a target key may take, window units.
inline constexpr double MaxTargetKeyStep = 1000;

// The most passes one "cycles N" line asks for: some minutes of computing, not days.
inline constexpr long long MaxPassesPerCycles = 100'000'000;

// The elbow box of a configuration's name (down, up, right, left), or NoBox.
CheckBox elbowBoxNamed(const std::string& name);

} // namespace servo
