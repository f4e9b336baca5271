#include "core/simulation/Simulation.h"

#include "core/simulation/ControlCycle.h"

namespace servo {

void Simulation::pass() {
    if (state_.stepPending == 1) {
        state_.stepPending = 0;
        if (state_.runState == RunStopped) {
            runningCycle(state_, surface_, controls_, yield_);
            afterCycle(true);
            return;
        }
    }
    if (state_.runState == RunRunning) {
        cycle();
    }
    if (state_.runState == RunStopped) {
        cycle();
    }
}

void Simulation::cycle() {
    const bool running = state_.runState != RunStopped;
    controlCycle(state_, surface_, controls_, yield_);
    afterCycle(running);
}

void Simulation::afterCycle(bool running) {
    if (afterCycle_) {
        afterCycle_(running);
    }
}

} // namespace servo
