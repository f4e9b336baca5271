#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/simulation/Controls.h"
#include "core/state/SimulationState.h"

namespace servo {

// The front end's own steps of start-up. None of them waits for the user.
class StartUpWindow {
public:
    virtual ~StartUpWindow() = default;
    virtual void maximiseWindow() = 0;
    virtual void showWindow() = 0;
    // Fits the surface's user scale (x 120..450 left to right, y 0..130 top to bottom) to the
    // drawing area as it now is.
    virtual void setDrawingScale() = 0;
};

// Start-up where there is no window to maximise, show or fit: the trace driver, the page (which
// is showing already) and a reset.
class NoWindow : public StartUpWindow {
public:
    void maximiseWindow() override {}
    void showWindow() override {}
    void setDrawingScale() override {}
};

// Start-up comes in two halves around the start-up notice, so that no front end has to wait
// inside the simulation: the front end calls the first half, shows the notice, and calls the
// second half once the user has dismissed it. Passes start after the second half.

// Texts and figure, target (350, 50), wrist scroll 0, path hidden, the window maximised,
// running, the reverse kinematic explanation, the window shown, "Elbow Left" checked.
void startUpUntilNotice(SimulationState& state, Controls& controls, StartUpWindow& window);

// The first cycle pending, "Elbow Left" in force, "Reverse Kinematic" checked and chosen, the
// other servo boxes unchecked, the drawing scale fitted.
void startUpAfterNotice(SimulationState& state, Controls& controls, StartUpWindow& window);

// Everything as start-up leaves it, without the window's steps or the notice: the figure and
// the object back in place, gripper open, no drag, grid off, path hidden, gain 1, the joints
// at rest, and the surface cleared.
void resetSimulation(SimulationState& state, Controls& controls, DrawingSurface& surface);

} // namespace servo
