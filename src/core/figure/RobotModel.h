#pragma once

#include "core/state/SimulationState.h"

namespace servo {

// What a figure point belongs to.
inline constexpr int PartBase = 0;
inline constexpr int PartUpperArm = 1;
inline constexpr int PartForearm = 2;
inline constexpr int PartJawsOpen = 3;   // drawn only while the gripper is open
inline constexpr int PartJawsClosed = 4; // drawn only while the gripper is closed
inline constexpr int PartLooseObject = 6;

// Loads the built-in arm in its straight-up pose (all joint angles zero): 73 points, the
// three joint centres and the link lengths. Leaves objectHeld and rows beyond the figure alone.
void loadBuiltInModel(SimulationState& state);

// Turns every figure point numbered above `pivot` about the pivot point's current position by
// `angle` radians, counterclockwise. The loose object turns only while it is held. An angle of
// exactly 0, or a pivot at or beyond the last point, changes nothing.
void rotateDistalPoints(SimulationState& state, int pivot, double angle);

} // namespace servo
