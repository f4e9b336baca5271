#pragma once

#include "core/interfaces/DrawingSurface.h"

namespace servo::testing {

// A surface that draws nothing, for measuring the simulation alone.
class NullSurface : public DrawingSurface {
public:
    void clear() override {}
    void setForeColour(Colour) override {}
    void plotPoint(float, float) override {}
    void lineTo(float, float) override {}
    void line(float, float, float, float) override {}
    void circle(float, float, float, Colour) override {}
    void setTextPosition(float, float) override {}
    void print(std::string_view) override {}
};

} // namespace servo::testing
