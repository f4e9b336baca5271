#pragma once

#include "core/interfaces/DrawingSurface.h"

#include <iterator>
#include <string>
#include <vector>

namespace servo {

// One drawing operation as the surface received it.
struct DrawOp {
    enum class Kind { Clear, ForeColour, Point, LineTo, Line, Circle, TextPosition, Print, Yield };
    Kind kind = Kind::Clear;
    float x1 = 0;
    float y1 = 0;
    float x2 = 0; // second end of a Line; radius of a Circle
    float y2 = 0;
    Colour colour = 0; // ForeColour and Circle
    std::string text;  // Print

    bool operator==(const DrawOp&) const = default;

    // One line: "cls", "forecolor C", "pset X Y", "lineto X Y", "line X1 Y1 X2 Y2",
    // "circle X Y R C", "at X Y", "print "TEXT"", "yield"; coordinates with 9 significant
    // digits, colours as decimal 0x00BBGGRR values.
    std::string describe() const;
};

// The kinds' names in the order of their values, for front ends that read encoded lists.
inline constexpr const char* DrawOpKindNames[] = {
    "Clear", "ForeColour", "Point", "LineTo", "Line", "Circle", "TextPosition", "Print", "Yield"};
static_assert(std::size(DrawOpKindNames) == static_cast<std::size_t>(DrawOp::Kind::Yield) + 1);

// A surface that keeps every drawing operation in order, as a list to carry out later, to
// compare or to print. Also keeps the foreground colour last set.
class DisplayList : public DrawingSurface {
public:
    void clear() override;
    void setForeColour(Colour colour) override;
    void plotPoint(float x, float y) override;
    void lineTo(float x, float y) override;
    void line(float x1, float y1, float x2, float y2) override;
    void circle(float x, float y, float radius, Colour colour) override;
    void setTextPosition(float x, float y) override;
    void print(std::string_view text) override;
    // Not a drawing operation: marks where the window was given its events.
    void recordYield();

    const std::vector<DrawOp>& ops() const { return ops_; }
    void forget() { ops_.clear(); }
    Colour foreColour() const { return foreColour_; }

private:
    std::vector<DrawOp> ops_;
    Colour foreColour_ = 0;
};

// Carries out the operations on another surface, in order.
void replay(const std::vector<DrawOp>& ops, DrawingSurface& surface);

// True when carrying out `frame` on a persistent picture that `last` was the last frame drawn
// on would leave the picture as it is: the two are equal and not empty, and either the frame
// starts by clearing (so everything is redrawn the same) or it prints no text (every stroke
// sets the same pixels again, whereas text's smoothed edges darken when printed over
// themselves).
bool repeatsWithoutChange(const std::vector<DrawOp>& frame, const std::vector<DrawOp>& last);

} // namespace servo
