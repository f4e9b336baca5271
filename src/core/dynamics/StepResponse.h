#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// The step response's figures, measured from the last change of the desired point (or of the
// scheme) on the effector's way from where it stood then to the desired point: NaN where a
// figure is not reached yet, and every figure before the first running cycle.
struct ResponseFigures {
    double rise;        // s, from 10 % to 90 % of the way
    double overshoot;   // % of the way, beyond the desired point along the way
    double settling;    // s, from the change until the effector stays within 2 % of the way
    double steadyError; // arm units, effector to desired point now
    double peakTorque;  // N m, the largest joint torque since the change (0 without dynamics)
};

// Before a running cycle's servo step: a desired point or a scheme other than the response's
// starts a new one from the effector where it stands.
void responseBeforeStep(SimulationState& state);
// After the step: the response's record of the effector's way so far.
void responseAfterStep(SimulationState& state);

ResponseFigures responseFigures(const StepResponse& response);

} // namespace servo
