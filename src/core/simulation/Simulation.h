#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/simulation/Controls.h"
#include "core/state/SimulationState.h"

#include <functional>

namespace servo {

// The simulation as a front end drives it from its own event loop: after start-up the front
// end handles its events, presents the last frame and calls pass() once per displayed frame
// for as long as the run state is not "end". Nothing here waits or loops on its own.
class Simulation {
public:
    Simulation(SimulationState& state, DrawingSurface& surface, Controls& controls)
        : state_(state), surface_(surface), controls_(controls) {}

    // One pass of the run loop: a control cycle while running, then, tested again, one while
    // stopped. A cycle that stops the simulation (through the window's events during the
    // grid's yield) is followed in the same pass by the stopped cycle. A pending step (see
    // stepClicked) is consumed: while stopped, the pass runs one running cycle instead and the
    // simulation stays stopped; while running it is dropped.
    void pass();

    // Runs after every control cycle, with the state as the cycle left it; `running` tells a
    // running cycle (the servo stepped) from a stopped one (the arm only redrawn).
    void setAfterCycle(std::function<void(bool running)> hook) { afterCycle_ = std::move(hook); }
    // What the grid's yield runs in the middle of a cycle: the front end handles its pending
    // events there (and may stop the simulation or close the window). None by default.
    void setYield(std::function<void()> hook) { yield_ = std::move(hook); }
    const std::function<void()>& yieldHook() const { return yield_; }

    SimulationState& state() { return state_; }
    const SimulationState& state() const { return state_; }
    DrawingSurface& surface() { return surface_; }
    Controls& controls() { return controls_; }
    const Controls& controls() const { return controls_; }

private:
    void cycle();
    void afterCycle(bool running);

    SimulationState& state_;
    DrawingSurface& surface_;
    Controls& controls_;
    std::function<void(bool)> afterCycle_;
    std::function<void()> yield_;
};

} // namespace servo
