#include "core/lab/LabSample.h"

#include "core/servo/ReverseKinematicSolution.h"
#include "core/simulation/ControlCycle.h"

#include <cmath>

namespace servo {

LabSample sampleOf(const SimulationState& state, int wristScrollPosition) {
    LabSample sample{};
    sample.effector = effectorPosition(state);
    sample.desired = {desiredXFromTarget(state.targetX), desiredYFromTarget(state.targetY)};
    sample.error =
        std::hypot(sample.desired.x - sample.effector.x, sample.desired.y - sample.effector.y);
    const ReverseKinematicGoal goal{
        sample.desired.x, sample.desired.y,  wristSettingFromScroll(wristScrollPosition),
        state.elbowPair,  state.elbowChoice, state.upperArmLength,
        state.handLength};
    sample.reachable = solveReverseKinematic(goal).reachable;
    return sample;
}

} // namespace servo
