#pragma once

#include "core/state/Geometry.h"

namespace servo {

// Where the drawing surface's user rectangle (x SurfaceLeft..SurfaceRight, y SurfaceTop..
// SurfaceBottom, window units) stands in a picture of some size in pixels, and back. Both front
// ends draw the picture, the cues and their pointer input through it.
//
// Stretched (the window's own look), the rectangle fills the whole picture, so an arm unit's
// length across and down differ with the picture's shape. In true proportions one arm unit is
// the same number of pixels across and down (WindowUnitsPerArmUnitX window units across, one
// down): the rectangle is as large as fits, centred, with the rest of the picture beside it
// or above and below it; what lies there is drawn too (user units beyond the rectangle).
struct PictureMap {
    static constexpr double UnitsAcross = SurfaceRight - SurfaceLeft; // window units
    static constexpr double UnitsDown = SurfaceBottom - SurfaceTop;

    double left = SurfaceLeft;  // user units at the rectangle's left edge
    double top = SurfaceTop;    // and at its top edge
    double spanX = UnitsAcross; // pixels the rectangle spans across
    double spanY = UnitsDown;   // and down
    double scaleX = 1;          // pixels per window unit across: spanX / UnitsAcross
    double scaleY = 1;          // pixels per window unit down: spanY / UnitsDown
    double offsetX = 0;         // pixels from the picture's left edge to the rectangle's
    double offsetY = 0;         // pixels from the picture's top edge to the rectangle's

    // A point in window units to pixels from the picture's top left corner.
    double pixelX(double x) const { return offsetX + (x - left) * spanX / UnitsAcross; }
    double pixelY(double y) const { return offsetY + (y - top) * spanY / UnitsDown; }
    // A pixel position (fractions allowed) to window units: the pointer's target.
    double userX(double pixelX) const { return left + (pixelX - offsetX) * UnitsAcross / spanX; }
    double userY(double pixelY) const { return top + (pixelY - offsetY) * UnitsDown / spanY; }

    bool operator==(const PictureMap&) const = default;
};

// The map for a picture `width` by `height` pixels (any unit, as long as the front end draws
// and reads the pointer in the same one). A side under one pixel counts as one, so the map
// always has an inverse.
PictureMap pictureMap(double width, double height, bool trueProportions);

} // namespace servo
