#pragma once

#include "core/display/DisplayList.h"
#include "core/simulation/Controls.h"
#include "core/simulation/Simulation.h"
#include "core/simulation/StartUp.h"
#include "core/state/SimulationState.h"

namespace servo {

// Where a headless simulation's start-up stops: at the notice (the front end shows it and then
// calls finishStartUp), or all the way, the notice dismissed at once.
enum class StartUpStop { AtNotice, Finished };

// The simulation as start-up leaves it, with its controls and a display list that keeps what
// the passes draw.
struct HeadlessSimulation {
    SimulationState state;
    Controls controls{state};
    DisplayList surface;
    Simulation simulation{state, surface, controls};

    explicit HeadlessSimulation(StartUpStop stop = StartUpStop::Finished) {
        NoWindow window;
        startUpUntilNotice(state, controls, window);
        if (stop == StartUpStop::Finished) {
            finishStartUp();
        }
    }
    void finishStartUp() {
        NoWindow window;
        startUpAfterNotice(state, controls, window);
    }
    HeadlessSimulation(const HeadlessSimulation&) = delete;
    HeadlessSimulation& operator=(const HeadlessSimulation&) = delete;
};

} // namespace servo
