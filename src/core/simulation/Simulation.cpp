#include "core/simulation/Simulation.h"

#include "core/simulation/ControlCycle.h"

namespace servo {

void Simulation::pass() {
    if (state_.runState == RunRunning) {
        cycle();
    }
    if (state_.runState == RunStopped) {
        cycle();
    }
}

void Simulation::cycle() {
    controlCycle(state_, surface_, panel_);
    if (afterCycle_) {
        afterCycle_();
    }
}

} // namespace servo
