#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

namespace servo {

// Colour and radius (horizontal window units) of the joint and object markers.
inline constexpr Colour MarkerColour = 1;
inline constexpr float MarkerRadius = 2;

// Window position of an arm point: (300 + 2x, 70 - y), handed to the surface in single
// precision.
struct SurfacePoint {
    float x;
    float y;
};
SurfacePoint armToSurface(double armX, double armY);

// Draws the figure as its points stand: strokes in the foreground colour, the jaw set that
// matches the gripper, circles on the three joint centres and the loose object. Also applies
// the pick-up rule (closed gripper within sqrt(3) of the object) and the release rule (open
// gripper), which take effect from the next redraw's rotations.
void drawFigure(SimulationState& state, DrawingSurface& surface);

// Carries the joint movements since the last redraw over to the figure (wrist, then elbow,
// then shoulder) and draws it. Every servo step ends with it. A joint drive in the state (the
// dynamics mode) first takes the angles the step set as the joints' reference and puts the
// joints where the motors have taken them.
void redrawArm(SimulationState& state, DrawingSurface& surface);

} // namespace servo
