#pragma once

#include "core/lab/Lab.h"
#include "core/simulation/Handlers.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// An experiment: the settings of a lesson's starting point, as a short text a teacher hands
// out. Its first line is ExperimentHeader, then `key=value` lines (see ExperimentKeys); a key
// left out keeps its start-up value. The dynamics mode's keys are written only when a setting
// is not at its start-up value, so experiments without it read as they always have. The same keys
// make a link's hash: v=1&scheme=xy&...
struct Experiment {
    int servoType = ServoReverseKinematic;
    CheckBox elbow = CheckBox::Check7;
    float targetX = StartUpTargetX; // window units
    float targetY = StartUpTargetY;
    int wrist = 0; // wrist scroll position
    double gain = 1;
    int speed = NormalSpeed; // index into Speeds
    bool labPanel = false;   // the front end opens the lab panel
    CueSettings cues;
    bool pathShown = false;
    bool grid = false;
    bool running = true;
    bool projector = false;
    int raceScheme = 0; // servo type; 0 for none
    double dampingLambda = DefaultDampingLambda;
    // The arm's starting pose: shoulder, elbow and wrist, degrees (straight up: all zero).
    std::array<double, 3> pose{};
    // The dynamics mode: on or off, its motor law, tuning (rad/s, ratio) and model error (%).
    bool dynamics = false;
    MotorLaw motorLaw = DefaultMotorLaw;
    double naturalFrequency = DefaultNaturalFrequency;
    double dampingRatio = DefaultDampingRatio;
    double modelErrorPercent = DefaultModelErrorPercent;
    bool modelIgnoresObject = false;

    bool operator==(const Experiment&) const;
};

inline constexpr const char* ExperimentHeader = "servo-experiment 1";
inline constexpr const char* ExperimentLinkVersion = "v=1";
inline constexpr const char* ExperimentFileSuffix = ".servo";
inline constexpr const char* ExperimentMimeType = "application/x-servo-experiment";

// An experiment read from a text, or why it is refused; lines with unknown keys are ignored,
// each with a warning.
struct ExperimentReading {
    std::optional<Experiment> experiment;
    std::string error;   // "line 4: gain: '25' is outside 0..20"
    int errorLine = 0;   // 4 (of a text; 0 for a link)
    std::string problem; // "gain: '25' is outside 0..20"
    std::vector<std::string> warnings;
};
// `firstLineNumber` numbers the header line (a script's experiment starts on one of its lines).
ExperimentReading readExperiment(std::string_view text, int firstLineNumber = 1);
std::string writeExperiment(const Experiment& experiment);

// The same as a link's hash (without the '#'), its values percent-encoded where needed.
ExperimentReading readExperimentLink(std::string_view hash);
std::string experimentLink(const Experiment& experiment);

// A link's value as written and read: bytes other than letters, digits and ".,-_" as %XX;
// reading, '+' is a space.
std::string percentEncoded(std::string_view text);
std::string percentDecoded(std::string_view text);

// What the lab shows now, with the front end's lab panel open or not.
Experiment experimentOf(const Lab& lab, bool labPanelOpen);

// A reset, then each setting as its own handler sets it (the lab panel is the front end's).
void applyExperiment(Lab& lab, const Experiment& experiment);

} // namespace servo
