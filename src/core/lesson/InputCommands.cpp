#include "core/lesson/InputCommands.h"

#include "core/language/Translation.h"
#include "core/lesson/ScriptWords.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/teaching/Grid.h"

namespace servo {

namespace {

using Words = std::vector<std::string>;

SimulationState& stateOf(Lab& lab) {
    return lab.simulation().state();
}

// A servo box's scheme as its box's press and click; a lab scheme as the lab panel chooses it.
void chooseScheme(Lab& lab, const ServoScheme& scheme) {
    Controls& controls = lab.simulation().controls();
    if (scheme.box != NoBox) {
        checkBoxPressed(stateOf(lab), controls, scheme.box);
        controls.setChecked(scheme.box, !controls.isChecked(scheme.box));
    } else {
        schemeChosen(stateOf(lab), controls, scheme.servoType);
    }
}

std::string unknownScheme(const std::string& word) {
    return filled(tr("unknown scheme %s"), {quoted(word)});
}

// A command without arguments.
InputCommand acting(const char* name, void (*act)(Lab&)) {
    return {name, 0, [act](Lab* lab, const Words&) -> std::string {
                if (lab != nullptr) {
                    act(*lab);
                }
                return {};
            }};
}

// A command of a point on the surface, window units.
InputCommand atPoint(const char* name, void (*act)(Lab&, float, float)) {
    return {name, 2, [act](Lab* lab, const Words& w) -> std::string {
                const auto x = readCoordinate(w[1]);
                const auto y = readCoordinate(w[2]);
                if (!x.value || !y.value) {
                    return x.value ? y.error : x.error;
                }
                if (lab != nullptr) {
                    act(*lab, *x.value, *y.value);
                }
                return {};
            }};
}

// A command of a number within lowest..highest.
InputCommand ofNumber(const char* name, double lowest, double highest, void (*act)(Lab&, double)) {
    return {name, 1, [=](Lab* lab, const Words& w) -> std::string {
                const auto number = readNumber(w[1], lowest, highest);
                if (!number.value) {
                    return number.error;
                }
                if (lab != nullptr) {
                    act(*lab, *number.value);
                }
                return {};
            }};
}

// A command of a whole number within lowest..highest.
InputCommand ofInteger(const char* name, long long lowest, long long highest,
                       void (*act)(Lab&, int)) {
    return {name, 1, [=](Lab* lab, const Words& w) -> std::string {
                const auto number = readInteger(w[1], lowest, highest);
                if (!number.value) {
                    return number.error;
                }
                if (lab != nullptr) {
                    act(*lab, static_cast<int>(*number.value));
                }
                return {};
            }};
}

InputCommand withNote(InputCommand command, bool (*worthNoting)(const Lab&)) {
    command.worthNoting = worthNoting;
    return command;
}

std::vector<InputCommand> buildCommands() {
    const auto& boxed = servoSchemes();
    return {
        atPoint("press",
                [](Lab& lab, float x, float y) {
                    surfacePressed(stateOf(lab), lab.simulation().surface(), x, y);
                }),
        withNote(
            atPoint("move", [](Lab& lab, float x, float y) { surfaceMoved(stateOf(lab), x, y); }),
            [](const Lab& lab) { return lab.simulation().state().pointerHeld == 1; }),
        acting("release", [](Lab& lab) { surfaceReleased(stateOf(lab)); }),
        ofInteger("scroll", 0, WristScrollMax,
                  [](Lab& lab, int position) {
                      lab.simulation().controls().setWristScrollPosition(position);
                  }),
        ofInteger("servo", boxed.front().servoType, boxed.back().servoType,
                  [](Lab& lab, int servoType) { chooseScheme(lab, *servoSchemeOf(servoType)); }),
        {"scheme", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const ServoScheme* scheme = servoSchemeNamed(w[1]);
             if (scheme == nullptr) {
                 return unknownScheme(w[1]);
             }
             if (lab != nullptr) {
                 chooseScheme(*lab, *scheme);
             }
             return {};
         }},
        ofNumber("lambda", 0, MaxDampingLambda,
                 [](Lab& lab, double lambda) { dampingEntered(stateOf(lab), lambda); }),
        {"race", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const std::optional<int> servoType = raceSchemeOfWord(w[1]);
             if (!servoType) {
                 return unknownScheme(w[1]);
             }
             if (lab != nullptr) {
                 lab->race().setScheme(*servoType);
             }
             return {};
         }},
        {"elbow", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const CheckBox box = elbowBoxNamed(w[1]);
             if (box == NoBox) {
                 return filled(tr("no elbow box %s (down, up, right or left)"), {quoted(w[1])});
             }
             if (lab != nullptr) {
                 Controls& controls = lab->simulation().controls();
                 controls.setChecked(box, !controls.isChecked(box));
             }
             return {};
         }},
        acting("open", [](Lab& lab) { openGripperClicked(stateOf(lab)); }),
        acting("close", [](Lab& lab) { closeGripperClicked(stateOf(lab)); }),
        acting("path",
               [](Lab& lab) { pathButtonClicked(stateOf(lab), lab.simulation().controls()); }),
        acting("run", [](Lab& lab) { runClicked(stateOf(lab)); }),
        acting("stop", [](Lab& lab) { stopClicked(stateOf(lab)); }),
        acting("grid",
               [](Lab& lab) {
                   gridMenuClicked(stateOf(lab), lab.simulation().surface(),
                                   lab.simulation().yieldHook());
               }),
        ofNumber("gain", 0, MaxGain,
                 [](Lab& lab, double gain) { gainChanged(stateOf(lab), gain); }),
        acting("step", [](Lab& lab) { stepClicked(stateOf(lab)); }),
        acting("reset", [](Lab& lab) { lab.reset(); }),
    };
}

} // namespace

const std::vector<InputCommand>& inputCommands() {
    static const std::vector<InputCommand> commands = buildCommands();
    return commands;
}

const InputCommand* inputCommandNamed(const std::string& name) {
    for (const InputCommand& command : inputCommands()) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

std::string runInputCommand(Lab* lab, const std::vector<std::string>& words) {
    const InputCommand* command = words.empty() ? nullptr : inputCommandNamed(words[0]);
    if (command == nullptr) {
        return filled(tr("unknown command %s"), {quoted(words.empty() ? "" : words[0])});
    }
    if (std::string error = argumentsError(words, command->arguments); !error.empty()) {
        return error;
    }
    return command->run(lab, words);
}

std::string inputLine(std::string_view word) {
    return std::string(word);
}

std::string inputLine(std::string_view word, float x, float y) {
    return std::string(word) + " " + exactCoordinate(x) + " " + exactCoordinate(y);
}

std::string inputLine(std::string_view word, double number) {
    return std::string(word) + " " + exactNumber(number);
}

std::string inputLine(std::string_view word, int number) {
    return std::string(word) + " " + std::to_string(number);
}

std::string inputLine(std::string_view word, std::string_view argument) {
    return std::string(word) + " " + std::string(argument);
}

CheckBox elbowBoxNamed(const std::string& name) {
    for (const ElbowConfiguration& configuration : ElbowConfigurations) {
        if (name == configuration.name) {
            return configuration.box;
        }
    }
    return NoBox;
}

} // namespace servo
