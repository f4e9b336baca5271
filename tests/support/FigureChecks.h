#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// Diagnostics for long runs: the figure is only ever turned in place, so rounding could in
// principle bend it or a runaway value could poison it.

// The largest change, in arm units, of the distance between two figure points that move
// together (same link; the loose object excluded), compared with the built-in figure.
double worstRigidityDrift(const SimulationState& state);

// The largest distance, in arm units, between where the figure's joint centres and closed
// finger tips stand and where forward kinematics of the current joint angles puts them. Zero
// up to rounding after every redraw.
double worstJointDrift(const SimulationState& state);
// The joint drift rounding can explain, arm units: 1e-6, plus what the angles' own precision
// allows. A runaway gain leaves the unwrapped angles at 1e10 radians and more, where a double
// holds an angle only to some micro-radians, and the figure, turned by the differences of such
// angles, may stand that far from where forward kinematics puts it.
double jointDriftAllowance(const SimulationState& state);

// True when every number of the state (angles, target, working values, figure points) is
// finite.
bool allFinite(const SimulationState& state);

} // namespace servo
