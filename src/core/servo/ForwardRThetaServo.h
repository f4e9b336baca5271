#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

namespace servo {

// One step of the forward kinematic R,theta servo: compares radius and elevation (seen from
// the shoulder) of the effector and of the desired point and drives the joints straight from
// the two errors (the radius error folds the elbow against the shoulder, the elevation error
// turns the shoulder), keeps the hand at the commanded orientation, prints "RADIUS ERROR="
// and "ELEVATION ERROR=" (degrees) at y 110, plots the effector's path point and redraws.
void rThetaServoStep(SimulationState& state, DrawingSurface& surface);

} // namespace servo
