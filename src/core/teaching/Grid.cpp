#include "core/teaching/Grid.h"

namespace servo {

void Grod(SimulationState& state, DrawingSurface& surface, const std::function<void()>& yield) {
    if (state.gridOn != 1) {
        return;
    }
    surface.setForeColour(GridColour);
    for (int k = -70; k <= 110; k += 10) {
        const auto x = static_cast<float>(ShoulderX + k);
        surface.line(x, 20, x, 120);
    }
    for (int k = -50; k <= 50; k += 10) {
        const auto y = static_cast<float>(ShoulderY + k);
        surface.line(230, y, 410, y);
    }
    if (yield) {
        yield();
    }
}

void gridMenuClicked(SimulationState& state, DrawingSurface& surface,
                     const std::function<void()>& yield) {
    Grod(state, surface, yield);
    state.gridOn = state.gridOn == 1 ? 0 : 1;
}

} // namespace servo
