#include "core/figure/EffectorPosition.h"

#include <cmath>

namespace servo {

ArmPoint effectorPosition(const SimulationState& state) {
    const double a1 = state.shoulderAngle;
    const double a12 = a1 + state.elbowAngle;
    const double a123 = a12 + state.wristAngle;
    const double l1 = state.upperArmLength;
    const double l2 = state.forearmLength;
    const double l3 = state.handLength;
    const double y = l1 * std::cos(a1) + l2 * std::cos(a12) + l3 * std::cos(a123);
    const double x = -(l1 * std::sin(a1) + l2 * std::sin(a12) + l3 * std::sin(a123));
    return {x, y};
}

ArmJoints jointPositions(const SimulationState& state, double shoulderAngle, double elbowAngle,
                         double wristAngle) {
    const double a12 = shoulderAngle + elbowAngle;
    const double a123 = a12 + wristAngle;
    ArmJoints joints{};
    joints.elbow = {-state.upperArmLength * std::sin(shoulderAngle),
                    state.upperArmLength * std::cos(shoulderAngle)};
    joints.wrist = {joints.elbow.x - state.forearmLength * std::sin(a12),
                    joints.elbow.y + state.forearmLength * std::cos(a12)};
    joints.effector = {joints.wrist.x - state.handLength * std::sin(a123),
                       joints.wrist.y + state.handLength * std::cos(a123)};
    return joints;
}

} // namespace servo
