#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// The tuning's and the model error's ranges.
inline constexpr double MaxNaturalFrequency = 100; // rad/s
inline constexpr double MaxDampingRatio = 5;
inline constexpr double MaxModelErrorPercent = 100; // either way

// What the dynamics mode's inputs do. Turning it on starts the motors with the joints at rest
// where they stand; off, the kinematic schemes move the joints from there again.
void dynamicsSwitched(SimulationState& state, bool on);
// Another motor law starts with no integral; the arm keeps its speeds.
void motorLawChosen(SimulationState& state, MotorLaw law);
// rad/s and ratio, kept within 0..MaxNaturalFrequency and 0..MaxDampingRatio.
void tuned(SimulationState& state, double naturalFrequency, double dampingRatio);
// %, kept within -MaxModelErrorPercent..MaxModelErrorPercent.
void modelErrorSet(SimulationState& state, double percent);
// Whether the controller's model leaves out the held object.
void modelObjectIgnored(SimulationState& state, bool ignored);

} // namespace servo
