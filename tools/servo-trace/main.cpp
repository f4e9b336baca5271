// servo-trace: runs the simulation without a window from a script on standard input and
// prints what it computes and draws, so that runs can be compared line by line.
//
// One command a line; blank lines and lines starting with '#' are ignored. See the README for
// the commands. A bad line stops the run with "servo-trace: line N: ..." on standard error and
// exit status 2.

#include "core/display/DisplayList.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/teaching/Grid.h"
#include "headless/HeadlessSimulation.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace servo;

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

void expectArguments(const std::vector<std::string>& words, std::size_t count) {
    if (words.size() != count + 1) {
        throw ScriptError("'" + words[0] + "' takes " + std::to_string(count) + " argument" +
                          (count == 1 ? "" : "s"));
    }
}

float parseCoordinate(const std::string& word) {
    float value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
        throw ScriptError("not a finite number: '" + word + "'");
    }
    return value;
}

long long parseInteger(const std::string& word, long long lowest, long long highest) {
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc{} || stop != end) {
        throw ScriptError("not a whole number: '" + word + "'");
    }
    if (value < lowest || value > highest) {
        throw ScriptError("'" + word + "' is outside " + std::to_string(lowest) + ".." +
                          std::to_string(highest));
    }
    return value;
}

std::string exact(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

class Trace {
public:
    Trace() {
        panel_.onYield([this] { surface_.recordYield(); });
    }

    void run(const std::vector<std::string>& w) {
        const std::string& command = w[0];
        if (command == "press" || command == "move") {
            expectArguments(w, 2);
            const float x = parseCoordinate(w[1]);
            const float y = parseCoordinate(w[2]);
            if (command == "press") {
                surfacePressed(state_, surface_, x, y);
            } else {
                surfaceMoved(state_, x, y);
            }
        } else if (command == "release") {
            expectArguments(w, 0);
            surfaceReleased(state_);
        } else if (command == "scroll") {
            expectArguments(w, 1);
            panel_.setWristScrollPosition(static_cast<int>(parseInteger(w[1], 0, 32767)));
        } else if (command == "servo") {
            expectArguments(w, 1);
            const auto& schemes = servoSchemes();
            const auto number =
                parseInteger(w[1], schemes.front().servoType, schemes.back().servoType);
            const CheckBox box = servoSchemeOf(static_cast<int>(number))->box;
            servoBoxPressed(state_, panel_, box);
            panel_.toggle(box);
        } else if (command == "elbow") {
            expectArguments(w, 1);
            panel_.toggle(elbowBox(w[1]));
        } else if (command == "open" || command == "close") {
            expectArguments(w, 0);
            if (command == "open") {
                openGripperClicked(state_);
            } else {
                closeGripperClicked(state_);
            }
        } else if (command == "path") {
            expectArguments(w, 0);
            pathButtonClicked(state_, panel_);
        } else if (command == "run" || command == "stop") {
            expectArguments(w, 0);
            if (command == "run") {
                runClicked(state_);
            } else {
                stopClicked(state_);
            }
        } else if (command == "grid") {
            expectArguments(w, 0);
            gridMenuClicked(state_, surface_, panel_);
        } else if (command == "cycles") {
            expectArguments(w, 1);
            const long long passes = parseInteger(w[1], 0, 1'000'000'000'000LL);
            for (long long pass = 0; pass < passes; ++pass) {
                runPass();
            }
        } else if (command == "state") {
            expectArguments(w, 0);
            printState();
        } else if (command == "points") {
            expectArguments(w, 0);
            for (int i = 1; i <= state_.pointCount; ++i) {
                std::cout << "point " << i << ' ' << exact(state_.pointX[i]) << ' '
                          << exact(state_.pointY[i]) << '\n';
            }
        } else if (command == "draws") {
            expectArguments(w, 0);
            for (const DrawOp& op : surface_.ops()) {
                std::cout << op.describe() << '\n';
            }
        } else {
            throw ScriptError("unknown command '" + command + "'");
        }
    }

private:
    static CheckBox elbowBox(const std::string& name) {
        for (const ElbowConfiguration& configuration : ElbowConfigurations) {
            if (name == configuration.name) {
                return configuration.box;
            }
        }
        throw ScriptError("no elbow box '" + name + "' (down, up, right or left)");
    }

    // One pass of the run loop without the window's events and repaint. The draws of the pass
    // replace those kept from the one before.
    void runPass() {
        surface_.forget();
        simulation_.simulation.pass();
    }

    void printState() const {
        std::cout << "state shoulderAngle=" << exact(state_.shoulderAngle)
                  << " elbowAngle=" << exact(state_.elbowAngle)
                  << " wristAngle=" << exact(state_.wristAngle)
                  << " objectHeld=" << state_.objectHeld << " servoType=" << state_.servoType
                  << " elbowPair=" << state_.elbowPair << " elbowChoice=" << state_.elbowChoice
                  << " clearEachCycle=" << state_.clearEachCycle << " gridOn=" << state_.gridOn
                  << " runState=" << state_.runState << '\n';
    }

    HeadlessSimulation simulation_;
    SimulationState& state_ = simulation_.state;
    HeadlessPanel& panel_ = simulation_.panel;
    DisplayList& surface_ = simulation_.surface;
};

} // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::cout << "servo-trace 1\n";
    Trace trace;
    std::string line;
    for (long lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        try {
            trace.run(words);
        } catch (const ScriptError& error) {
            std::cout.flush();
            std::fprintf(stderr, "servo-trace: line %ld: %s\n", lineNumber, error.what());
            return 2;
        }
    }
    std::cout.flush();
    return 0;
}
