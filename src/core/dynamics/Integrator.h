#pragma once

#include "core/dynamics/ArmParameters.h"
#include "core/servo/ArmJacobian.h"

namespace servo {

// One lab step is a sixtieth of a second of simulated time, as the kinematic schemes' steps
// are paced; the motors and the arm run at a fixed internal step within it, seventeen to the
// lab step (0.98 ms, a whole number so that every lab step covers exactly 1/60 s).
inline constexpr double LabStepSeconds = 1.0 / 60;
inline constexpr int InternalStepsPerLabStep = 17;
inline constexpr double InternalStepSeconds = LabStepSeconds / InternalStepsPerLabStep;

// The arm's state: joint angles, rad, and speeds, rad/s.
struct ArmMotion {
    Vector3 angles;
    Vector3 speeds;
};

// The arm after `seconds` with the torques held (the motors run at the internal rate, their
// torque constant between updates), by the classical fourth-order Runge-Kutta scheme. Not
// symplectic Euler: with friction off the arm is a chaotic triple pendulum whose fast swings
// a first-order scheme follows with an energy error of a percent at this step, while
// Runge-Kutta's error, of fourth order, stays far below the 0.1 % a lesson on energy needs;
// four evaluations of a 3x3 model a step cost microseconds.
ArmMotion rungeKuttaStep(const ArmParameters& arm, const ArmMotion& motion, const Vector3& torques,
                         bool objectHeld, double seconds);

} // namespace servo
