#include "core/lesson/InputCommands.h"

#include "core/dynamics/DynamicsSettings.h"
#include "core/dynamics/MotorLaws.h"
#include "core/language/Translation.h"
#include "core/lesson/ScriptWords.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"
#include "core/teaching/Grid.h"

#include <limits>

namespace servo {

namespace {

using Words = std::vector<std::string>;

SimulationState& stateOf(Lab& lab) {
    return lab.simulation().state();
}

// A servo box's scheme as its box's press and click.
void pressAndClick(Lab& lab, const ServoScheme& scheme) {
    Controls& controls = lab.simulation().controls();
    checkBoxPressed(stateOf(lab), controls, scheme.box);
    controls.setChecked(scheme.box, !controls.isChecked(scheme.box));
}

// The target where a key left it, as the press and release of a pointer there.
std::string targetNoted(const Lab& lab, const Words&) {
    const SimulationState& state = lab.simulation().state();
    return inputLine("press", static_cast<float>(state.targetX),
                     static_cast<float>(state.targetY)) +
           "\nrelease";
}

// A box of the column by its number, 1 to CheckBoxCount.
CheckBox boxOf(const Words& words) {
    return static_cast<CheckBox>(std::stoi(words[1]));
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

InputCommand withNote(InputCommand command, std::string (*noted)(const Lab&, const Words&)) {
    command.noted = noted;
    return command;
}

// What the keys of the picture and the boxes' presses and clicks do, noted as the trace words
// that do the same: the target's keys as a press and release there, a servo box's press as
// "servo N" (its click that follows is then not noted), an elbow box's click as "elbow NAME".
std::vector<InputCommand> keyAndBoxCommands() {
    return {
        withNote({"target-key", 2,
                  [](Lab* lab, const Words& w) -> std::string {
                      const auto dx = readNumber(w[1], -MaxTargetKeyStep, MaxTargetKeyStep);
                      const auto dy = readNumber(w[2], -MaxTargetKeyStep, MaxTargetKeyStep);
                      if (!dx.value || !dy.value) {
                          return dx.value ? dy.error : dx.error;
                      }
                      if (lab != nullptr) {
                          targetMovedByKey(stateOf(*lab), lab->simulation().surface(),
                                           static_cast<float>(*dx.value),
                                           static_cast<float>(*dy.value));
                      }
                      return {};
                  }},
                 targetNoted),
        withNote(acting("target-home",
                        [](Lab& lab) { targetHomeKey(stateOf(lab), lab.simulation().surface()); }),
                 targetNoted),
        withNote(ofInteger("box-press", 1, CheckBoxCount,
                           [](Lab& lab, int box) {
                               checkBoxPressed(stateOf(lab), lab.simulation().controls(),
                                               static_cast<CheckBox>(box));
                           }),
                 [](const Lab&, const Words& w) -> std::string {
                     const ServoScheme* scheme = servoSchemeOf(boxOf(w));
                     return scheme != nullptr ? inputLine("servo", scheme->servoType) : "";
                 }),
        withNote(ofInteger("box-click", 1, CheckBoxCount,
                           [](Lab& lab, int box) {
                               lab.simulation().controls().toggle(static_cast<CheckBox>(box));
                           }),
                 [](const Lab&, const Words& w) -> std::string {
                     const ElbowConfiguration* configuration = elbowConfigurationOf(boxOf(w));
                     return configuration != nullptr ? inputLine("elbow", configuration->name) : "";
                 }),
    };
}

// The lab panel's entries as its controls give them: any number, the gain then rounded to
// GainStep and both kept within their range; noted as the value they set.
std::vector<InputCommand> entryCommands() {
    constexpr double Any = std::numeric_limits<double>::max();
    return {
        withNote(ofNumber("enter-gain", -Any, Any,
                          [](Lab& lab, double gain) { gainEntered(stateOf(lab), gain); }),
                 [](const Lab& lab, const Words&) {
                     return inputLine("gain", lab.simulation().state().gain);
                 }),
        withNote(ofNumber("enter-lambda", -Any, Any,
                          [](Lab& lab, double lambda) { dampingEntered(stateOf(lab), lambda); }),
                 [](const Lab& lab, const Words&) {
                     return inputLine("lambda", lab.simulation().state().dampingLambda);
                 }),
    };
}

// The dynamics mode's switch, motor law, tuning (natural frequency in rad/s, damping ratio)
// and model error (percent).
std::vector<InputCommand> dynamicsCommands() {
    return {
        {"dynamics", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const WordRead<bool> on = readEither(w[1], "on", "off");
             if (on.value && lab != nullptr) {
                 dynamicsSwitched(stateOf(*lab), *on.value);
             }
             return on.error;
         }},
        {"motor", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const std::optional<MotorLaw> law = motorLawNamed(w[1]);
             if (!law) {
                 return filled(tr("unknown motor law %s (%s)"), {quoted(w[1]), motorLawWords()});
             }
             if (lab != nullptr) {
                 motorLawChosen(stateOf(*lab), *law);
             }
             return {};
         }},
        {"tune", 2,
         [](Lab* lab, const Words& w) -> std::string {
             const auto frequency = readNumber(w[1], 0, MaxNaturalFrequency);
             const auto damping = readNumber(w[2], 0, MaxDampingRatio);
             if (!frequency.value || !damping.value) {
                 return frequency.value ? damping.error : frequency.error;
             }
             if (lab != nullptr) {
                 tuned(stateOf(*lab), *frequency.value, *damping.value);
             }
             return {};
         }},
        ofNumber("model-error", -MaxModelErrorPercent, MaxModelErrorPercent,
                 [](Lab& lab, double percent) { modelErrorSet(stateOf(lab), percent); }),
        {"model-object", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const WordRead<bool> known = readEither(w[1], "known", "ignored");
             if (known.value && lab != nullptr) {
                 modelObjectIgnored(stateOf(*lab), !*known.value);
             }
             return known.error;
         }},
    };
}

// The student's law: its source, percent-encoded as one word (see lawArgument), compiled and
// made the law in force (Apply).
InputCommand lawCommand() {
    return {"own-law", 1, [](Lab* lab, const Words& w) -> std::string {
                if (lab != nullptr) {
                    lab->ownLaw().apply(lawOfArgument(w[1]));
                }
                return {};
            }};
}

std::vector<InputCommand> buildCommands() {
    const auto& boxed = servoSchemes();
    std::vector<InputCommand> commands{
        atPoint("press",
                [](Lab& lab, float x, float y) {
                    surfacePressed(stateOf(lab), lab.simulation().surface(), x, y);
                }),
        withNote(
            atPoint("move", [](Lab& lab, float x, float y) { surfaceMoved(stateOf(lab), x, y); }),
            [](const Lab& lab, const Words& w) {
                return lab.simulation().state().pointerHeld == 1 ? inputLine("move", w[1], w[2])
                                                                 : std::string();
            }),
        acting("release", [](Lab& lab) { surfaceReleased(stateOf(lab)); }),
        ofInteger("scroll", 0, WristScrollMax,
                  [](Lab& lab, int position) {
                      lab.simulation().controls().setWristScrollPosition(position);
                  }),
        ofInteger("servo", boxed.front().servoType, boxed.back().servoType,
                  [](Lab& lab, int servoType) { pressAndClick(lab, *servoSchemeOf(servoType)); }),
        {"scheme", 1,
         [](Lab* lab, const Words& w) -> std::string {
             const ServoScheme* scheme = servoSchemeNamed(w[1]);
             if (scheme == nullptr) {
                 return unknownScheme(w[1]);
             }
             if (lab != nullptr) {
                 schemeChosen(stateOf(*lab), lab->simulation().controls(), scheme->servoType);
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
    commands.push_back(lawCommand());
    for (auto more : {keyAndBoxCommands(), entryCommands(), dynamicsCommands()}) {
        commands.insert(commands.end(), more.begin(), more.end());
    }
    return commands;
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

std::string tuneLine(double naturalFrequency, double dampingRatio) {
    return "tune " + exactNumber(naturalFrequency) + " " + exactNumber(dampingRatio);
}

std::string modelObjectLine(bool ignored) {
    return ignored ? "model-object ignored" : "model-object known";
}

std::string inputLine(std::string_view word, int number) {
    return std::string(word) + " " + std::to_string(number);
}

std::string inputLine(std::string_view word, std::string_view argument) {
    return std::string(word) + " " + std::string(argument);
}

std::string inputLine(std::string_view word, std::string_view first, std::string_view second) {
    return std::string(word) + " " + std::string(first) + " " + std::string(second);
}

std::vector<InputChoice> schemeChoices() {
    std::vector<InputChoice> choices;
    for (const ServoScheme* scheme : labSchemeList()) {
        choices.push_back({scheme->caption, inputLine("scheme", scheme->name)});
    }
    return choices;
}

std::vector<InputChoice> raceChoices() {
    std::vector<InputChoice> choices{{NoRaceCaption, inputLine("race", raceSchemeWord(0))}};
    for (const ServoScheme* scheme : labSchemeList()) {
        choices.push_back({scheme->caption, inputLine("race", raceSchemeWord(scheme->servoType))});
    }
    return choices;
}

std::string pictureKeyLine(std::string_view key, bool shift) {
    if (key == "Home") {
        return "target-home";
    }
    const double by = shift ? TargetKeyFineStep : TargetKeyStep;
    const struct {
        std::string_view key;
        double dx;
        double dy;
    } moves[] = {{"Left", -by, 0}, {"Right", by, 0}, {"Up", 0, -by}, {"Down", 0, by}};
    for (const auto& move : moves) {
        if (key == move.key) {
            return "target-key " + exactNumber(move.dx) + " " + exactNumber(move.dy);
        }
    }
    return {};
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
