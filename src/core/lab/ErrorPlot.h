#pragma once

#include "core/language/Translation.h"

#include "core/interfaces/DrawingSurface.h"
#include "core/lab/ErrorHistory.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

inline constexpr Colour PlotBackground = rgb(22, 44, 64);
inline constexpr Colour PlotAxisColour = rgb(150, 170, 190);
inline constexpr Colour PlotChangeColour = rgb(255, 150, 60);
inline constexpr Colour PlotDistanceColour = rgb(255, 255, 255);
inline constexpr std::array<Colour, 3> PlotSignalColours{rgb(255, 220, 0), rgb(255, 130, 170),
                                                         rgb(120, 235, 140)};
// The signals of a scheme other than the one in force: what they mean is not what the legend
// says, so they are drawn dimmed, under one legend entry of their own.
inline constexpr Colour PlotEarlierSignalColour = rgb(95, 112, 128);

// The value axis never reaches beyond +-PlotValueLimit: in degrees a full turn, more than any
// joint error of a law that settles or hunts; in arm units more than the picture is across
// (about 165). A law that diverges leaves that range within a few steps: its values are drawn
// on the plot's edge, which turns orange, and the legend says "off scale", so that the axis
// keeps plain numbers and the history before the divergence keeps its shape on a linear axis
// (a logarithmic axis would keep every value, at the price of squeezing the ordinary ones).
inline constexpr double PlotValueLimit = 360;

inline constexpr const char* PlotNowLabel = N_("now");
inline constexpr const char* PlotCyclesLabel = N_("cycles");
inline constexpr const char* PlotOffScaleLabel = N_("off scale");
inline constexpr const char* PlotEarlierSignalsLabel = N_("signals of an earlier scheme");
inline constexpr const char* PlotDistanceLabel = N_("distance (arm units)");

// A text's width in the plot surface's units, as the front end's font sets it.
using TextWidth = std::function<double(std::string_view)>;

// The surface the plot is drawn on: `width` by `height` units (its pixels), the height of a
// line of text and the front end's measure of a text. The plot lays itself out from these: the
// legend in rows above the traces, the value labels left of them, the cycle labels below.
struct PlotLayout {
    double width;
    double height;
    double lineHeight = 14;
    TextWidth textWidth = {}; // none: 0.6 line heights a character
    double measure(std::string_view text) const;
};

// The texts the plot may print other than numbers, in the language now chosen: a front end
// that cannot measure during the drawing measures these (and the characters of numbers, see
// PlotNumberCharacters) beforehand into a MeasuredTexts.
std::vector<std::string> plotTexts();
inline constexpr const char* PlotNumberCharacters = "0123456789-+.e";

// Widths measured beforehand: a text's own, else the sum of its characters' (numbers), else an
// estimate of 0.6 line heights a character.
class MeasuredTexts {
public:
    void set(const std::string& text, double width) { widths_[text] = width; }
    void clear() { widths_.clear(); }
    bool empty() const { return widths_.empty(); }
    double width(std::string_view text, double lineHeight) const;

private:
    std::map<std::string, double, std::less<>> widths_;
};

// The strip chart of the history: the distance error and the signals of a signal set (see
// signalSetOf: the scheme in force, or the motors in the dynamics mode) against
// the cycle, newest at the right, with axes, labels, a legend and a mark at every change of
// target or scheme. Values scale to fit within +-PlotValueLimit; values that are not finite
// leave a gap.
void drawErrorPlot(const ErrorHistory& history, int signalSet, const PlotLayout& layout,
                   DrawingSurface& surface);

// Tick spacing of 1, 2 or 5 times a power of ten giving about `ticks` ticks over `range`.
double niceStep(double range, int ticks);

} // namespace servo
