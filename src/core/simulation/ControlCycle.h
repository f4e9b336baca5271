#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/simulation/Controls.h"
#include "core/state/SimulationState.h"

#include <functional>

namespace servo {

// One pass of the simulation, called by the run loop while running or stopped. Running: clear
// (path hidden), show the elbow boxes for the reverse kinematic scheme only, take the desired
// point and the wrist setting, reset the joints on the very first cycle, run one step of the
// chosen servo law in white (with dynamics on, the law sets the joints' reference and the
// motors move them a lab step), measure the step response and draw the grid (whose yield runs
// `yield`). Stopped: only redraw the arm where it stands.
void controlCycle(SimulationState& state, DrawingSurface& surface, Controls& controls,
                  const std::function<void()>& yield = {});
// The running half of it, whatever the run state says (the lab's single step while stopped).
void runningCycle(SimulationState& state, DrawingSurface& surface, Controls& controls,
                  const std::function<void()>& yield = {});

// Desired point in arm units from a target in window units: ((x - 300) / 2, 70 - y).
double desiredXFromTarget(double targetX);
double desiredYFromTarget(double targetY);

// Commanded hand orientation, radians, from the wrist scroll position: -180 degrees at 0,
// 0 at 16000, +180 at 32000, converted with 57.3 degrees per radian.
double wristSettingFromScroll(int position);

} // namespace servo
