#pragma once

#include "core/state/Geometry.h"

#include <string_view>

namespace servo {

// The persistent picture the simulation draws on. All positions are window user units (see
// Geometry.h: x 120..450 left to right, y 0..130 top to bottom) in single precision. What is
// drawn stays until clear().
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Erase everything to the window's background colour.
    virtual void clear() = 0;
    // Colour of every later stroke, point and text that carries no colour of its own.
    virtual void setForeColour(Colour colour) = 0;
    // Plot one point in the foreground colour; it becomes the current drawing position.
    virtual void plotPoint(float x, float y) = 0;
    // Line from the current drawing position; its end becomes the current position.
    virtual void lineTo(float x, float y) = 0;
    // Line between two given points in the foreground colour.
    virtual void line(float x1, float y1, float x2, float y2) = 0;
    // Circle outline, radius in horizontal units; the centre becomes the current position.
    virtual void circle(float x, float y, float radius, Colour colour) = 0;
    // Top-left corner of the next printed text.
    virtual void setTextPosition(float x, float y) = 0;
    // Text in the foreground colour and the window's font; the text position moves to just
    // after it on the same line.
    virtual void print(std::string_view text) = 0;
};

} // namespace servo
