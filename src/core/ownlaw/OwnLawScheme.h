#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

namespace servo {

// The scheme "Your law": each cycle the student's law (the state's studentLaw) gives the joint
// steps; with its read-outs, path point and redraw as the Jacobian schemes have them. While the
// law is stopped, or there is none, the arm holds (no step).
void ownLawStep(SimulationState& state, DrawingSurface& surface);

} // namespace servo
