#pragma once

#include "core/display/DisplayList.h"
#include "core/simulation/Simulation.h"
#include "core/simulation/StartUp.h"
#include "core/state/SimulationState.h"
#include "headless/HeadlessPanel.h"

namespace servo {

// Start-up without a window: nothing to maximise, show or fit.
class NoWindow : public StartUpWindow {
public:
    void maximiseWindow() override {}
    void showWindow() override {}
    void setDrawingScale() override {}
};

// The simulation as start-up leaves it (the notice dismissed at once), with a window-less
// control panel and a display list that keeps what the passes draw.
struct HeadlessSimulation {
    SimulationState state;
    HeadlessPanel panel{state};
    DisplayList surface;
    Simulation simulation{state, surface, panel};

    HeadlessSimulation() {
        NoWindow window;
        startUpUntilNotice(state, panel, window);
        startUpAfterNotice(state, panel, window);
    }
    HeadlessSimulation(const HeadlessSimulation&) = delete;
    HeadlessSimulation& operator=(const HeadlessSimulation&) = delete;
};

} // namespace servo
