#pragma once

#include "controls/ControlActions.h"
#include "headless/HeadlessPanel.h"
#include "state/SimulationState.h"

namespace servo {

// Start-up without a window: nothing to maximise, show or wait for.
class NoWindow : public StartUpWindow {
public:
    void maximiseWindow() override {}
    void showWindow() override {}
    void showStartUpNotice() override { ++noticesShown; }
    void setDrawingScale() override {}

    int noticesShown = 0;
};

// The simulation as start-up leaves it, with a window-less control panel.
struct HeadlessSimulation {
    SimulationState state;
    HeadlessPanel panel{state};
    NoWindow window;

    HeadlessSimulation() { startUp(state, panel, window); }
    HeadlessSimulation(const HeadlessSimulation&) = delete;
    HeadlessSimulation& operator=(const HeadlessSimulation&) = delete;
};

} // namespace servo
