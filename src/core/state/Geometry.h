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
// The text of the two heading boxes ("Choose Servo", "Wrist Angle").
inline constexpr Colour HeadingTextColour = rgb(255, 255, 192);
// The ring around the control that has the keyboard focus.
inline constexpr Colour FocusRingColour = rgb(255, 221, 0);

// The window's fonts, bold, in points: the window's own (menus' read-outs and buttons) and the
// boxes' and headings' captions.
inline constexpr double WindowFontPoints = 8.25;
inline constexpr double CaptionFontPoints = 9.75;

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
