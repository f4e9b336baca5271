#pragma once

#include "core/display/DisplayList.h"
#include "core/figure/RobotModel.h"
#include "core/simulation/Handlers.h"
#include "core/state/SimulationState.h"
#include "headless/HeadlessSimulation.h"

#include <algorithm>
#include <cstddef>

namespace servo::testing {

// The simulation as start-up leaves it, with a display list and a headless panel.
struct World {
    HeadlessSimulation headless;
    SimulationState& state = headless.state;
    HeadlessPanel& panel = headless.panel;
    DisplayList& surface = headless.surface;

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

// The built-in figure with all joint angles zero, no surface or panel.
inline SimulationState straightUpArm() {
    SimulationState state;
    loadBuiltInModel(state);
    return state;
}

} // namespace servo::testing
