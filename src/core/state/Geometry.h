#pragma once

#include <cstdint>

namespace servo {

// A colour as the 24-bit value 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
    return (blue << 16) | (green << 8) | red;
}

inline constexpr Colour White = rgb(255, 255, 255);
// The window's background, behind the controls and the picture.
inline constexpr Colour WindowBackground = rgb(63, 150, 192);

// The drawing surface's user scale, window units: x left to right, y top to bottom. Whatever
// the size of the area it fills, the picture shows exactly this rectangle.
inline constexpr double SurfaceLeft = 120;
inline constexpr double SurfaceTop = 0;
inline constexpr double SurfaceRight = 450;
inline constexpr double SurfaceBottom = 130;

// The shoulder joint's place on the surface, window units. One arm unit is two window units
// across and one down: an arm point (x, y) stands at (ShoulderX + 2x, ShoulderY - y).
inline constexpr double ShoulderX = 300;
inline constexpr double ShoulderY = 70;
inline constexpr double WindowUnitsPerArmUnitX = 2;

// The simulation's own rounded constants; they are part of its results and stay as they are.
inline constexpr double DegreesPerRadian = 57.3;
inline constexpr double HalfTurn = 3.14159;    // radians
inline constexpr double QuarterTurn = 1.57076; // radians

} // namespace servo
