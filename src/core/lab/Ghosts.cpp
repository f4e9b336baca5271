#include "core/lab/Ghosts.h"

#include "core/lab/LabSample.h"
#include "core/simulation/ControlCycle.h"

#include <cmath>
#include <numbers>

namespace servo {

std::array<GhostArm, 4> ghostArms(const SimulationState& state, int wristScrollPosition) {
    std::array<GhostArm, 4> ghosts{};
    for (std::size_t i = 0; i < ElbowConfigurations.size(); ++i) {
        const ElbowConfiguration& configuration = ElbowConfigurations[i];
        const ReverseKinematicSolution solution = solveReverseKinematic(goalForTarget(
            state, wristScrollPosition, configuration.elbowPair, configuration.elbowChoice));
        GhostArm& ghost = ghosts[i];
        ghost.configuration = &configuration;
        ghost.reachable = solution.reachable;
        ghost.inForce = configuration.elbowPair == state.elbowPair &&
                        configuration.elbowChoice == state.elbowChoice;
        ghost.shoulderAngle = solution.shoulderAngle;
        ghost.elbowAngle = solution.elbowAngle;
        ghost.wristAngle = solution.wristAngle;
        if (solution.reachable) {
            ghost.joints = jointPositions(state, solution.shoulderAngle, solution.elbowAngle,
                                          solution.wristAngle);
        }
    }
    return ghosts;
}

std::vector<ArmPoint> reachBoundary(const SimulationState& state, int wristScrollPosition,
                                    int count) {
    const double hand = wristSettingFromScroll(wristScrollPosition);
    // effector = wrist point + one hand length along the hand (direction (-sin, cos)).
    const ArmPoint centre{-state.handLength * std::sin(hand), state.handLength * std::cos(hand)};
    const double radius = 2 * state.upperArmLength;
    std::vector<ArmPoint> points;
    points.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        const double angle = 2 * std::numbers::pi * i / count;
        points.push_back(
            {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return points;
}

} // namespace servo
