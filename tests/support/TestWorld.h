#pragma once

#include "core/display/DisplayList.h"
#include "core/figure/RobotModel.h"
#include "core/simulation/Handlers.h"
#include "core/state/SimulationState.h"
#include "headless/HeadlessSimulation.h"

#include <algorithm>
#include <cstddef>
#include <functional>

namespace servo::testing {

// The simulation as start-up leaves it, with a display list; its grid yields are counted.
struct World {
    HeadlessSimulation headless;
    SimulationState& state = headless.state;
    Controls& controls = headless.controls;
    DisplayList& surface = headless.surface;
    int yields = 0;
    std::function<void()> onYield; // runs at every yield, in place of the window's events
    // The grid's yield, as the simulation runs it.
    std::function<void()> yield = [this] {
        ++yields;
        if (onYield) {
            onYield();
        }
    };

    World() { headless.simulation.setYield(yield); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Runs one pass of the run loop (one control cycle while running or stopped) and keeps only
    // its drawing operations.
    void cycle() {
        surface.forget();
        headless.simulation.pass();
    }
    void cycles(int count) {
        for (int i = 0; i < count; ++i) {
            cycle();
        }
    }

    std::size_t count(DrawOp::Kind kind) const {
        return static_cast<std::size_t>(
            std::count_if(surface.ops().begin(), surface.ops().end(),
                          [kind](const DrawOp& op) { return op.kind == kind; }));
    }
};

// The built-in figure with all joint angles zero, no surface or controls.
inline SimulationState straightUpArm() {
    SimulationState state;
    loadBuiltInModel(state);
    return state;
}

} // namespace servo::testing
