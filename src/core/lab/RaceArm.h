#pragma once

#include "core/language/Translation.h"

#include "core/display/DisplayList.h"
#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

#include <optional>
#include <string_view>

namespace servo {

inline constexpr Colour RaceArmColour = rgb(255, 170, 90);
inline constexpr const char* RaceCaption = N_("Race against");
inline constexpr const char* NoRaceCaption = N_("none");
inline constexpr const char* RaceDistanceLegend = N_("race distance");

// The race's scheme as scripts and experiments name it: a scheme's one word, or NoRaceCaption
// (untranslated) for no race.
const char* raceSchemeWord(int servoType);
// The servo type such a word names (0 for no race), or nothing for another word.
std::optional<int> raceSchemeOfWord(std::string_view word);

// A second arm that races the main one: whenever the main arm's target or scheme changes (or
// the race's own scheme), it starts again from the main arm's pose as it was before that
// cycle, and then runs its own scheme one cycle for each running cycle of the main arm, toward
// the same target with the same wrist setting, gain and damping. It has a state of its own and
// draws only when asked (on the cue layer), so the main arm, its picture and its traces are
// exactly as without it.
class RaceArm {
public:
    // The race's scheme by servo type; 0 for no race.
    void setScheme(int servoType);
    int scheme() const { return servoType_; }
    bool active() const { return servoType_ != 0; }

    // Called after each running cycle of the main arm, with its state then.
    void afterCycle(const SimulationState& main);

    // Effector to desired point, arm units; NaN with no race or before its first cycle.
    double distance() const;
    // Cycles since the race last started again.
    long cycles() const { return cycles_; }
    const SimulationState& state() const { return arm_; }

    // The race arm, faint, on a layer in window units.
    void draw(DrawingSurface& layer) const;

private:
    int servoType_ = 0;
    bool restart_ = true;
    bool any_ = false;
    SimulationState before_; // the main arm as the cycle before left it
    SimulationState arm_;
    long cycles_ = 0;
    DisplayList scratch_; // what the race's laws draw, thrown away
};

} // namespace servo
