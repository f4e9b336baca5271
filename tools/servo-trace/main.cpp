// servo-trace: runs the simulation without a window from a script on standard input and
// prints what it computes and draws, so that runs can be compared line by line.
//
// One command a line; blank lines and lines starting with '#' are ignored. See the README for
// the commands. A bad line stops the run with "servo-trace: line N: ..." on standard error and
// exit status 2.

#include "ScriptArguments.h"
#include "core/display/DisplayList.h"
#include "core/lab/Ghosts.h"
#include "core/lab/LabSample.h"
#include "core/lab/RaceArm.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/simulation/StartUp.h"
#include "core/teaching/Grid.h"
#include "headless/HeadlessSimulation.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace servo;
using namespace servo::trace;

// The most passes one "cycles" command runs: some minutes of computing, not days.
constexpr long long MaxPassesPerCommand = 100'000'000;

std::string exact(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

using Words = std::vector<std::string>;

class Trace {
public:
    Trace() {
        panel_.onYield([this] { surface_.recordYield(); });
        simulation_.simulation.setAfterCycle([this](bool running) {
            if (running) {
                race_.afterCycle(state_);
            }
        });
    }

    // Runs one script line's words; throws ScriptError for a bad one.
    void run(const Words& w) {
        for (const Command& command : commands()) {
            if (w[0] == command.name) {
                expectArguments(w, command.arguments);
                command.run(*this, w);
                return;
            }
        }
        throw ScriptError("unknown command " + quoted(w[0]));
    }

    // Every command the driver takes, in the order the README lists them.
    struct Command {
        const char* name;
        std::size_t arguments;
        void (*run)(Trace&, const Words&);
    };
    static const std::vector<Command>& commands() {
        static const std::vector<Command> table{
            {"press", 2,
             [](Trace& t, const Words& w) {
                 surfacePressed(t.state_, t.surface_, parseCoordinate(w[1]), parseCoordinate(w[2]));
             }},
            {"move", 2,
             [](Trace& t, const Words& w) {
                 surfaceMoved(t.state_, parseCoordinate(w[1]), parseCoordinate(w[2]));
             }},
            {"release", 0, [](Trace& t, const Words&) { surfaceReleased(t.state_); }},
            {"scroll", 1,
             [](Trace& t, const Words& w) {
                 t.panel_.setWristScrollPosition(
                     static_cast<int>(parseInteger(w[1], 0, WristScrollMax)));
             }},
            {"servo", 1, [](Trace& t, const Words& w) { t.servoBox(w[1]); }},
            {"scheme", 1, [](Trace& t, const Words& w) { t.scheme(w[1]); }},
            {"lambda", 1,
             [](Trace& t, const Words& w) {
                 dampingEntered(t.state_, parseNumber(w[1], 0, MaxDampingLambda));
             }},
            {"race", 1,
             [](Trace& t, const Words& w) {
                 t.race_.setScheme(w[1] == NoRaceCaption ? 0 : t.schemeNamed(w[1]).servoType);
             }},
            {"elbow", 1, [](Trace& t, const Words& w) { t.panel_.toggle(elbowBox(w[1])); }},
            {"open", 0, [](Trace& t, const Words&) { openGripperClicked(t.state_); }},
            {"close", 0, [](Trace& t, const Words&) { closeGripperClicked(t.state_); }},
            {"path", 0, [](Trace& t, const Words&) { pathButtonClicked(t.state_, t.panel_); }},
            {"run", 0, [](Trace& t, const Words&) { runClicked(t.state_); }},
            {"stop", 0, [](Trace& t, const Words&) { stopClicked(t.state_); }},
            {"grid", 0,
             [](Trace& t, const Words&) { gridMenuClicked(t.state_, t.surface_, t.panel_); }},
            {"cycles", 1,
             [](Trace& t, const Words& w) {
                 const long long passes = parseInteger(w[1], 0, MaxPassesPerCommand);
                 for (long long pass = 0; pass < passes; ++pass) {
                     t.runPass();
                 }
             }},
            {"gain", 1,
             [](Trace& t, const Words& w) {
                 gainChanged(t.state_, parseNumber(w[1], 0, MaxGain));
             }},
            {"step", 0, [](Trace& t, const Words&) { stepClicked(t.state_); }},
            {"reset", 0,
             [](Trace& t, const Words&) {
                 resetSimulation(t.state_, t.panel_, t.surface_);
                 t.race_.setScheme(t.race_.scheme()); // it starts again
             }},
            {"sample", 0, [](Trace& t, const Words&) { t.printSample(); }},
            {"ghosts", 0, [](Trace& t, const Words&) { t.printGhosts(); }},
            {"state", 0, [](Trace& t, const Words&) { t.printState(); }},
            {"points", 0, [](Trace& t, const Words&) { t.printPoints(); }},
            {"draws", 0,
             [](Trace& t, const Words&) {
                 for (const DrawOp& op : t.surface_.ops()) {
                     std::cout << op.describe() << '\n';
                 }
             }},
        };
        return table;
    }

private:
    // A pointer press on the servo box of a servo type, then its click toggle.
    void servoBox(const std::string& word) {
        const auto& schemes = servoSchemes();
        const auto number = parseInteger(word, schemes.front().servoType, schemes.back().servoType);
        const CheckBox box = servoSchemeOf(static_cast<int>(number))->box;
        checkBoxPressed(state_, panel_, box);
        panel_.toggle(box);
    }

    const ServoScheme& schemeNamed(const std::string& word) const {
        const ServoScheme* scheme = servoSchemeNamed(word);
        if (scheme == nullptr) {
            throw ScriptError("unknown scheme " + quoted(word));
        }
        return *scheme;
    }

    // A servo box's scheme as its box's press and click; a lab scheme as the lab panel
    // chooses it.
    void scheme(const std::string& word) {
        const ServoScheme& chosen = schemeNamed(word);
        if (chosen.box != NoBox) {
            checkBoxPressed(state_, panel_, chosen.box);
            panel_.toggle(chosen.box);
        } else {
            schemeChosen(state_, panel_, chosen.servoType);
        }
    }

    void printSample() const {
        const LabSample sample = sampleOf(state_, panel_.wristScrollPosition());
        std::cout << "sample effectorX=" << exact(sample.effector.x)
                  << " effectorY=" << exact(sample.effector.y)
                  << " desiredX=" << exact(sample.desired.x)
                  << " desiredY=" << exact(sample.desired.y) << " error=" << exact(sample.error)
                  << " reach=" << (sample.reachable ? 1 : 0)
                  << " manipulability=" << exact(manipulability(taskJacobian(state_)));
        if (race_.active()) {
            std::cout << " raceError=" << exact(race_.distance());
        }
        std::cout << '\n';
    }

    void printGhosts() const {
        for (const GhostArm& ghost : ghostArms(state_, panel_.wristScrollPosition())) {
            std::cout << "ghost " << ghost.configuration->name;
            if (ghost.reachable) {
                std::cout << " shoulderAngle=" << exact(ghost.shoulderAngle)
                          << " elbowAngle=" << exact(ghost.elbowAngle)
                          << " wristAngle=" << exact(ghost.wristAngle) << '\n';
            } else {
                std::cout << " unreachable\n";
            }
        }
    }

    void printPoints() const {
        for (int i = 1; i <= state_.pointCount; ++i) {
            std::cout << "point " << i << ' ' << exact(state_.pointX[i]) << ' '
                      << exact(state_.pointY[i]) << '\n';
        }
    }

    static CheckBox elbowBox(const std::string& name) {
        for (const ElbowConfiguration& configuration : ElbowConfigurations) {
            if (name == configuration.name) {
                return configuration.box;
            }
        }
        throw ScriptError("no elbow box " + quoted(name) + " (down, up, right or left)");
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
    RaceArm race_;
    SimulationState& state_ = simulation_.state;
    HeadlessPanel& panel_ = simulation_.panel;
    DisplayList& surface_ = simulation_.surface;
};

// Standard input, line by line, with read errors told apart from its end.
class LineReader {
public:
    // False at the end of the input; throws std::system_error on a read error.
    bool next(std::string& line) {
        line.clear();
        while (true) {
            const std::size_t newline = buffer_.find('\n', start_);
            if (newline != std::string::npos) {
                line.assign(buffer_, start_, newline - start_);
                start_ = newline + 1;
                return true;
            }
            if (ended_) {
                line.assign(buffer_, start_);
                start_ = buffer_.size();
                return !line.empty();
            }
            buffer_.erase(0, start_);
            start_ = 0;
            char chunk[65536];
            const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                throw std::system_error(errno, std::generic_category());
            }
            ended_ = count == 0;
            buffer_.append(chunk, static_cast<std::size_t>(count));
        }
    }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool ended_ = false;
};

// Flushes standard output; false (with a line on standard error) when it could not be written.
bool outputWritten() {
    std::cout.flush();
    if (std::cout) {
        return true;
    }
    std::fprintf(stderr, "servo-trace: cannot write the output\n");
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    if (argc == 2 && std::string(argv[1]) == "--commands") {
        // The names of the commands, one a line (the README's table is checked against it).
        for (const Trace::Command& command : Trace::commands()) {
            std::cout << command.name << '\n';
        }
        return outputWritten() ? 0 : 1;
    }
    if (argc > 1) {
        std::fprintf(stderr, "usage: servo-trace [--commands] < script\n");
        return 2;
    }
    std::cout << "servo-trace 1\n";
    Trace trace;
    LineReader input;
    std::string line;
    long lineNumber = 0;
    try {
        while (input.next(line)) {
            ++lineNumber;
            const std::vector<std::string> words = splitWords(line);
            if (words.empty() || words[0][0] == '#') {
                continue;
            }
            trace.run(words);
        }
    } catch (const ScriptError& error) {
        const bool written = outputWritten();
        std::fprintf(stderr, "servo-trace: line %ld: %s\n", lineNumber, error.what());
        return written ? 2 : 1;
    } catch (const std::system_error& error) {
        outputWritten();
        std::fprintf(stderr, "servo-trace: cannot read the script: %s\n",
                     error.code().message().c_str());
        return 1;
    }
    return outputWritten() ? 0 : 1;
}
