#pragma once

#include "core/language/Translation.h"

#include "core/interfaces/DrawingSurface.h"
#include "core/lab/ErrorHistory.h"

namespace servo {

inline constexpr Colour PlotBackground = rgb(22, 44, 64);
inline constexpr Colour PlotAxisColour = rgb(150, 170, 190);
inline constexpr Colour PlotChangeColour = rgb(255, 150, 60);
inline constexpr Colour PlotDistanceColour = rgb(255, 255, 255);
inline constexpr std::array<Colour, 3> PlotSignalColours{rgb(255, 220, 0), rgb(255, 130, 170),
                                                         rgb(120, 235, 140)};

// Where the plot's parts go on a surface of `width` by `height` units (its pixels), and how
// wide a legend entry is; the front end picks these for its font.
struct PlotLayout {
    double width;
    double height;
    double left = 64; // room for the value labels
    double right = 10;
    double top = 24;    // room for the legend
    double bottom = 22; // room for the cycle labels
    double lineHeight = 14;
    double legendEntryWidth = 200;
};

// The texts the plot's margins are made to hold; the front end measures them in its font.
inline constexpr const char* PlotValueLabelSample = "-000.00";
inline constexpr const char* PlotLegendSample =
    N_("largest joint step (degrees)"); // the longest entry
inline constexpr const char* PlotNowLabel = N_("now");

// The widths of those samples and the height of a line, in the surface's units.
struct PlotTextMetrics {
    double lineHeight;
    double valueLabelWidth;
    double legendSampleWidth;
    double nowWidth;
};
// The layout of a plot of `width` by `height` for text of those metrics.
PlotLayout plotLayoutFor(double width, double height, const PlotTextMetrics& text);

// The strip chart of the history: the distance error and the scheme's own signals against
// the cycle, newest at the right, with axes, labels, a legend and a mark at every change of
// target or scheme. Values scale to fit; values that are not finite leave a gap.
void drawErrorPlot(const ErrorHistory& history, int servoType, const PlotLayout& layout,
                   DrawingSurface& surface);

// Tick spacing of 1, 2 or 5 times a power of ten giving about `ticks` ticks over `range`.
double niceStep(double range, int ticks);

} // namespace servo
