#pragma once

#include "core/figure/EffectorPosition.h"
#include "core/servo/ReverseKinematicSolution.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/SimulationState.h"

namespace servo {

// What the lab measures of the simulation as it stands, arm units.
struct LabSample {
    ArmPoint effector; // forward kinematics of the current joint angles
    ArmPoint desired;  // from the current target
    double error;      // distance between the two
    bool reachable;    // the reverse kinematic reach test passes for this target and wrist
};

// `wristScrollPosition` is the scroll bar's current position (the wrist setting it commands).
LabSample sampleOf(const SimulationState& state, int wristScrollPosition);

// Whether the effector is on the desired point: within ErrorHistory::SettledWithin.
bool isReached(const LabSample& sample);
// Whether the target is out of reach: the scheme in force is the reverse kinematic one (it
// shows the elbow boxes) and its reach test fails.
bool isOutOfReach(const SimulationState& state, const LabSample& sample);

} // namespace servo
