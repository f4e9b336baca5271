#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// A point in arm coordinates (shoulder joint at the origin, x right, y up, arm units).
struct ArmPoint {
    double x;
    double y;
};

// Forward kinematics of the effector point (between the gripper jaws) from the three joint
// angles and the link lengths. Every user of the effector position calls this.
ArmPoint effectorPosition(const SimulationState& state);

// The elbow, wrist and effector points of the arm with the given joint angles (radians) and
// the state's link lengths; the shoulder is at the origin.
struct ArmJoints {
    ArmPoint elbow;
    ArmPoint wrist;
    ArmPoint effector;
};
ArmJoints jointPositions(const SimulationState& state, double shoulderAngle, double elbowAngle,
                         double wristAngle);

} // namespace servo
