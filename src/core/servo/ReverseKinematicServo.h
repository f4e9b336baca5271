#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/servo/ReverseKinematicSolution.h"
#include "core/state/SimulationState.h"

namespace servo {

// One step of the reverse kinematic servo: solves the joint angles that put the effector on
// the desired point with the commanded hand orientation in the chosen elbow configuration,
// moves every joint a fifth of the way (times the lab's gain) there from its last drawn angle,
// and redraws the arm.
// A wrist point beyond the reach of the two arm links moves nothing: the step pauses
// (servoDelay) and redraws the arm where it is.
void reverseKinematicStep(SimulationState& state, DrawingSurface& surface);

// The law's inputs from the state (desired point, wrist setting, link lengths) with the given
// elbow configuration.
ReverseKinematicGoal reverseKinematicGoal(const SimulationState& state, int elbowPair,
                                          int elbowChoice);

// A short busy wait of two empty counts from 1 to 150 in delayCounter.
void servoDelay(SimulationState& state);

} // namespace servo
