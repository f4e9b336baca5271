#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

#include <functional>

namespace servo {

inline constexpr Colour GridColour = rgb(150, 175, 200);

// The grid procedure: while gridOn is 1, draws 19 vertical and 11 horizontal lines 10 units
// apart over x 230..410, y 20..120 (around the shoulder joint at 300, 70) in GridColour, which
// stays the foreground colour, then yields once to the window (runs `yield`, when given). Otherwise
// does nothing.
void Grod(SimulationState& state, DrawingSurface& surface, const std::function<void()>& yield);

// The "Grid" menu item: draws the grid if it was on, then flips gridOn.
void gridMenuClicked(SimulationState& state, DrawingSurface& surface,
                     const std::function<void()>& yield);

} // namespace servo
