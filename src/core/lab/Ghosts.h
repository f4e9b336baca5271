#pragma once

#include "core/figure/EffectorPosition.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/state/SimulationState.h"

#include <array>
#include <vector>

namespace servo {

// The reverse kinematic law's solution for one elbow configuration, for the current target
// and the wrist setting of the current scroll position: the angles it commands before its gain
// and where they put the arm.
struct GhostArm {
    const ElbowConfiguration* configuration;
    bool reachable;
    bool inForce; // the configuration the elbow boxes have chosen
    double shoulderAngle;
    double elbowAngle;
    double wristAngle;
    ArmJoints joints; // meaningful only when reachable
};

std::array<GhostArm, 4> ghostArms(const SimulationState& state, int wristScrollPosition);

// The effector's reach boundary for the wrist setting of the current scroll position: the
// effector points whose wrist point is exactly 2 x upperArmLength from the shoulder, a circle
// of `count` points (arm units) around the shoulder shifted one hand length along the hand.
std::vector<ArmPoint> reachBoundary(const SimulationState& state, int wristScrollPosition,
                                    int count = 96);

} // namespace servo
