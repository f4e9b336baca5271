#include "core/lab/LabSample.h"

#include "core/lab/ErrorHistory.h"
#include "core/simulation/ControlCycle.h"

#include <cmath>

namespace servo {

LabSample sampleOf(const SimulationState& state, int wristScrollPosition) {
    LabSample sample{};
    sample.effector = effectorPosition(state);
    sample.desired = {desiredXFromTarget(state.targetX), desiredYFromTarget(state.targetY)};
    sample.error =
        std::hypot(sample.desired.x - sample.effector.x, sample.desired.y - sample.effector.y);
    sample.reachable = solveReverseKinematic(goalForTarget(state, wristScrollPosition,
                                                           state.elbowPair, state.elbowChoice))
                           .reachable;
    return sample;
}

bool isReached(const LabSample& sample) {
    return sample.error <= ErrorHistory::SettledWithin;
}

bool isOutOfReach(const SimulationState& state, const LabSample& sample) {
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    return scheme != nullptr && scheme->showsElbowBoxes && !sample.reachable;
}

} // namespace servo
