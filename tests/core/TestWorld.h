#pragma once

#include "controls/ControlActions.h"
#include "headless/HeadlessSimulation.h"
#include "headless/RecordingSurface.h"
#include "robot/RobotModel.h"
#include "servo/ControlCycle.h"
#include "state/SimulationState.h"

#include <algorithm>
#include <cstddef>

namespace servo::testing {

// The simulation as start-up leaves it, with a recording surface and a headless panel.
struct World {
    HeadlessSimulation simulation;
    SimulationState& state = simulation.state;
    HeadlessPanel& panel = simulation.panel;
    RecordingSurface surface;

    // Runs one control cycle and keeps only its drawing operations.
    void cycle() {
        surface.forget();
        controlCycle(state, surface, panel);
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
