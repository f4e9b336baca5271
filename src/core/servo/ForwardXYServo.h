#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

namespace servo {

// One step of the forward kinematic x,y servo: compares the effector position with the
// desired point per axis and drives the joints straight from the two errors (the Y error
// folds the elbow against the shoulder, the X error turns the shoulder), keeps the hand at
// the commanded orientation, prints "X ERROR=" and "Y ERROR=" at y 110, plots the effector's
// path point and redraws the arm.
void xyServoStep(SimulationState& state, DrawingSurface& surface);

} // namespace servo
