#pragma once

#include "core/lab/Lab.h"

#include <functional>
#include <string>
#include <vector>

namespace servo {

// The user's inputs as lines of a trace script, each with what it does to a lab: what a
// recording holds, what a replay and the trace driver run. "cycles N" (the passes between
// inputs) is left to whoever runs the script.
struct InputCommand {
    const char* name;
    std::size_t arguments;
    // Does it; empty, or what is wrong with an argument (the lab then is as it was). With no
    // lab it only checks the arguments.
    std::function<std::string(Lab* lab, const std::vector<std::string>& words)> run;
};
const std::vector<InputCommand>& inputCommands();
const InputCommand* inputCommandNamed(const std::string& name);

// Runs a line's words (the first is an input command's name) on the lab, or with none only
// checks them: empty, or what is wrong.
std::string runInputCommand(Lab* lab, const std::vector<std::string>& words);

// The most passes one "cycles N" line asks for: some minutes of computing, not days.
inline constexpr long long MaxPassesPerCycles = 100'000'000;

// The elbow box of a configuration's name (down, up, right, left), or NoBox.
CheckBox elbowBoxNamed(const std::string& name);

} // namespace servo
