#include "core/dynamics/DynamicsSettings.h"

#include "core/dynamics/JointDrive.h"

#include <algorithm>

namespace servo {

void dynamicsSwitched(SimulationState& state, bool on) {
    if (state.dynamics.on != on) {
        restartMotors(state.dynamics);
    }
    state.dynamics.on = on;
}

void motorLawChosen(SimulationState& state, MotorLaw law) {
    if (state.dynamics.motorLaw != law) {
        state.dynamics.integral = {};
    }
    state.dynamics.motorLaw = law;
}

void tuned(SimulationState& state, double naturalFrequency, double dampingRatio) {
    state.dynamics.naturalFrequency = std::clamp(naturalFrequency, 0.0, MaxNaturalFrequency);
    state.dynamics.dampingRatio = std::clamp(dampingRatio, 0.0, MaxDampingRatio);
}

void modelErrorSet(SimulationState& state, double percent) {
    state.dynamics.modelErrorPercent =
        std::clamp(percent, -MaxModelErrorPercent, MaxModelErrorPercent);
}

void modelObjectIgnored(SimulationState& state, bool ignored) {
    state.dynamics.modelIgnoresObject = ignored;
}

} // namespace servo
