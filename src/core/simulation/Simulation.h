#pragma once

#include "core/interfaces/ControlPanel.h"
#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

#include <functional>

namespace servo {

// The simulation as a front end drives it from its own event loop: after start-up the front
// end handles its events, presents the last frame and calls pass() once per displayed frame
// for as long as the run state is not "end". Nothing here waits or loops on its own.
class Simulation {
public:
    Simulation(SimulationState& state, DrawingSurface& surface, ControlPanel& panel)
        : state_(state), surface_(surface), panel_(panel) {}

    // One pass of the run loop: a control cycle while running, then, tested again, one while
    // stopped. A cycle that stops the simulation (through the window's events during the
    // grid's yield) is followed in the same pass by the stopped cycle. A pending step (see
    // stepClicked) is consumed: while stopped, the pass runs one running cycle instead and the
    // simulation stays stopped; while running it is dropped.
    void pass();

    // Runs after every control cycle, with the state as the cycle left it; `running` tells a
    // running cycle (the servo stepped) from a stopped one (the arm only redrawn).
    void setAfterCycle(std::function<void(bool running)> hook) { afterCycle_ = std::move(hook); }

    SimulationState& state() { return state_; }
    const SimulationState& state() const { return state_; }
    DrawingSurface& surface() { return surface_; }
    ControlPanel& panel() { return panel_; }
    const ControlPanel& panel() const { return panel_; }

private:
    void cycle();
    void afterCycle(bool running);

    SimulationState& state_;
    DrawingSurface& surface_;
    ControlPanel& panel_;
    std::function<void(bool)> afterCycle_;
};

} // namespace servo
