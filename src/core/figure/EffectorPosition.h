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

} // namespace servo
