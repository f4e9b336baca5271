#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// The cascade of the dynamics mode, run by redrawArm when a servo law has stepped: the angles
// the law set become the joints' reference, and the joints go from where they were last drawn
// to where the motor law's torques (limited per joint) and the arm's dynamics take them in one
// lab step, the motor law run at every internal step. Sets the joint angles, the speeds, the
// torques, the saturation marks and the response's peak torque. The PID law's integral is
// held while its joint is at its limit and the error would push it further (clamping).
// A reference that is not a finite number (a kinematic law gone astray) leaves the joint's
// reference where it was.
void driveJoints(SimulationState& state);

// The motors' state as the mode starts, a motor law is chosen or a lesson restarts: the joints
// at rest, no integral, no torque.
void restartMotors(DynamicsState& dynamics);

} // namespace servo
