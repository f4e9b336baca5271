#include "core/lab/ErrorPlot.h"

#include "core/lab/RaceArm.h"
#include "core/servo/ErrorFormat.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace servo {

namespace {

constexpr double Gap = 8; // between texts on a line, and around the plot area

std::string tickLabel(double value, double step) {
    if (std::fabs(value) >= 1e6 || step >= 1e6) {
        char text[32];
        std::snprintf(text, sizeof text, "%.0e", value);
        return text;
    }
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    return formatFixed(std::fabs(value) < step / 2 ? 0.0 : value, std::min(decimals, 6));
}

// A scheme's k-th signal as the legend names it, with its unit.
std::string signalLegend(const SignalNames& names, std::size_t k) {
    return std::string(tr(names.names[k])) +
           (*names.unit != '\0' ? " (" + std::string(tr(names.unit)) + ")" : "");
}

struct LegendEntry {
    std::string text;
    Colour colour;
};

// Where the value axis runs and whether some value lies beyond it.
struct ValueScale {
    double low = 0;
    double high = 1;
    double step = 1;
    bool offScale = false;
};

bool hasSignals(const ErrorSample& sample) {
    return std::any_of(sample.signalValues.begin(), sample.signalValues.end(),
                       [](double value) { return std::isfinite(value); });
}

std::vector<LegendEntry> legendOf(const std::vector<ErrorSample>& samples, int signalSet,
                                  bool racing, bool offScale) {
    std::vector<LegendEntry> entries{{tr(PlotDistanceLabel), PlotDistanceColour}};
    const SignalNames names = plotSignalNames(signalSet);
    for (std::size_t k = 0; k < 3 && names.names[k] != nullptr; ++k) {
        entries.push_back({signalLegend(names, k), PlotSignalColours[k]});
    }
    if (racing) {
        entries.push_back({tr(RaceDistanceLegend), RaceArmColour});
    }
    const bool earlier = std::any_of(samples.begin(), samples.end(), [&](const ErrorSample& s) {
        return s.signalSet != signalSet && hasSignals(s);
    });
    if (earlier) {
        entries.push_back({tr(PlotEarlierSignalsLabel), PlotEarlierSignalColour});
    }
    if (offScale) {
        entries.push_back({tr(PlotOffScaleLabel), PlotChangeColour});
    }
    return entries;
}

// Lays the entries out in rows from the top left, each row as many as fit the width, and
// prints them when given a surface; returns the height the rows take.
double flowLegend(const std::vector<LegendEntry>& entries, const PlotLayout& layout,
                  DrawingSurface* surface) {
    double x = Gap / 2;
    double y = Gap / 2;
    for (const LegendEntry& entry : entries) {
        const double width = layout.measure(entry.text);
        if (x > Gap / 2 && x + width > layout.width - Gap / 2) {
            x = Gap / 2;
            y += layout.lineHeight;
        }
        if (surface != nullptr) {
            surface->setForeColour(entry.colour);
            surface->setTextPosition(static_cast<float>(x), static_cast<float>(y));
            surface->print(entry.text);
        }
        x += width + 2 * Gap;
    }
    return y + layout.lineHeight - Gap / 2;
}

// The values of the ticks: the multiples of the step on the axis.
std::vector<double> ticksOf(const ValueScale& scale) {
    std::vector<double> values;
    for (double value = std::ceil(scale.low / scale.step - 1e-9) * scale.step;
         value <= scale.high + scale.step * 1e-9; value += scale.step) {
        values.push_back(value);
    }
    return values;
}

ValueScale scaleOf(const std::vector<ErrorSample>& samples, int ticks) {
    ValueScale scale;
    double low = 0;
    double high = 1; // 0 always in range, at least 1 unit tall
    for (const ErrorSample& sample : samples) {
        for (const double value : {sample.distance, sample.signalValues[0], sample.signalValues[1],
                                   sample.signalValues[2], sample.raceDistance}) {
            if (std::isfinite(value)) {
                scale.offScale = scale.offScale || std::fabs(value) > PlotValueLimit;
                low = std::min(low, std::max(value, -PlotValueLimit));
                high = std::max(high, std::min(value, PlotValueLimit));
            }
        }
    }
    // Finer steps while the axis, cut at the limit, would hold fewer than three ticks.
    for (int count = ticks; count <= 4 * ticks; ++count) {
        scale.step = niceStep(high - low, count);
        scale.low = std::max(std::floor(low / scale.step) * scale.step, -PlotValueLimit);
        scale.high = std::min(std::ceil(high / scale.step) * scale.step, PlotValueLimit);
        if (!scale.offScale || ticksOf(scale).size() >= 3) {
            break;
        }
    }
    return scale;
}

// The cycle labels under the axis, newest first, each centred on its tick and kept on the
// surface; one that would touch its right-hand neighbour is left out, and "cycles" goes at the
// left end where it fits.
void drawCycleLabels(double plotLeft, double plotRight, double bottom, const PlotLayout& layout,
                     DrawingSurface& surface) {
    const double slot = (plotRight - plotLeft) / static_cast<double>(ErrorHistory::Capacity - 1);
    double leftmost = layout.width + Gap;
    for (int ago = 0; ago < static_cast<int>(ErrorHistory::Capacity); ago += 100) {
        const double x = plotRight - ago * slot;
        surface.line(static_cast<float>(x), static_cast<float>(bottom), static_cast<float>(x),
                     static_cast<float>(bottom + 4));
        const std::string text = ago == 0 ? std::string(tr(PlotNowLabel)) : std::to_string(-ago);
        const double width = layout.measure(text);
        const double at = std::min(x - width / 2, layout.width - width - 2);
        if (at + width + Gap <= leftmost) {
            surface.setTextPosition(static_cast<float>(at), static_cast<float>(bottom + 4));
            surface.print(text);
            leftmost = at;
        }
    }
    if (plotLeft + layout.measure(tr(PlotCyclesLabel)) + Gap <= leftmost) {
        surface.setTextPosition(static_cast<float>(plotLeft), static_cast<float>(bottom + 4));
        surface.print(tr(PlotCyclesLabel));
    }
}

// The plot area's frame on the surface.
struct Area {
    double left;
    double right;
    double top;
    double bottom;
};

// The value axis with its ticks and right-aligned labels, the zero line and, where values lie
// beyond the scale, that edge in the change colour.
void drawValueAxis(const ValueScale& scale, const Area& area, const PlotLayout& layout,
                   const std::function<float(double)>& yOf, DrawingSurface& surface) {
    const auto left = static_cast<float>(area.left);
    const auto right = static_cast<float>(area.right);
    surface.setForeColour(PlotAxisColour);
    surface.line(left, static_cast<float>(area.top), left, static_cast<float>(area.bottom));
    surface.line(left, static_cast<float>(area.bottom), right, static_cast<float>(area.bottom));
    for (const double value : ticksOf(scale)) {
        const float y = yOf(value);
        surface.line(left - 4, y, left, y);
        if (std::fabs(value) < scale.step / 2) {
            surface.line(left, y, right, y); // the zero line
        }
        const std::string label = tickLabel(value, scale.step);
        surface.setTextPosition(static_cast<float>(area.left - 6 - layout.measure(label)),
                                static_cast<float>(y - layout.lineHeight / 2));
        surface.print(label);
    }
    if (scale.offScale) {
        surface.setForeColour(PlotChangeColour);
        for (const double edge : {scale.low, scale.high}) {
            if (std::fabs(edge) >= PlotValueLimit) {
                surface.line(left, yOf(edge), right, yOf(edge));
            }
        }
    }
}

double widestTickLabel(const ValueScale& scale, const PlotLayout& layout) {
    double widest = 0;
    for (const double value : ticksOf(scale)) {
        widest = std::max(widest, layout.measure(tickLabel(value, scale.step)));
    }
    return widest;
}

// The traces: the signals of earlier schemes dimmed, then the scheme's own, the race's distance
// and the distance on top; gaps where a value is not finite; values beyond the scale on its edge.
void drawTraces(const std::vector<ErrorSample>& samples, int signalSet, bool racing,
                const std::function<float(std::size_t)>& xOf,
                const std::function<float(double)>& yOf, DrawingSurface& surface) {
    auto series = [&](auto valueOf, Colour colour, auto shown) {
        surface.setForeColour(colour);
        bool drawing = false;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double value = valueOf(samples[i]);
            if (!shown(samples[i]) || !std::isfinite(value)) {
                drawing = false;
                continue;
            }
            if (drawing) {
                surface.lineTo(xOf(i), yOf(value));
            } else {
                surface.plotPoint(xOf(i), yOf(value));
                drawing = true;
            }
        }
    };
    const auto earlier = [signalSet](const ErrorSample& s) { return s.signalSet != signalSet; };
    const auto own = [signalSet](const ErrorSample& s) { return s.signalSet == signalSet; };
    const auto all = [](const ErrorSample&) { return true; };
    for (std::size_t k = 0; k < 3; ++k) {
        series([k](const ErrorSample& s) { return s.signalValues[k]; }, PlotEarlierSignalColour,
               earlier);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        series([k](const ErrorSample& s) { return s.signalValues[k]; }, PlotSignalColours[k], own);
    }
    if (racing) {
        series([](const ErrorSample& s) { return s.raceDistance; }, RaceArmColour, all);
    }
    series([](const ErrorSample& s) { return s.distance; }, PlotDistanceColour, all);
}

} // namespace

void drawErrorPlot(const ErrorHistory& history, int signalSet, const PlotLayout& layout,
                   DrawingSurface& surface) {
    surface.clear();
    const std::vector<ErrorSample> samples = history.samples();
    const bool racing = std::any_of(samples.begin(), samples.end(), [](const ErrorSample& s) {
        return std::isfinite(s.raceDistance);
    });
    const std::vector<LegendEntry> legend =
        legendOf(samples, signalSet, racing, scaleOf(samples, 5).offScale);
    Area area{0, layout.width - Gap, flowLegend(legend, layout, nullptr) + layout.lineHeight,
              layout.height - layout.lineHeight - 6};
    // As many value ticks as the height holds without their labels touching, 2 to 5.
    const int ticks =
        std::clamp(static_cast<int>((area.bottom - area.top) / (layout.lineHeight * 1.5)), 2, 5);
    const ValueScale scale = scaleOf(samples, ticks);
    area.left = widestTickLabel(scale, layout) + 10;
    if (area.right - area.left < 20 || area.bottom - area.top < 20) {
        return;
    }
    flowLegend(legend, layout, &surface);
    const auto yOf = [&](double value) {
        const double shown = std::clamp(value, scale.low, scale.high);
        return static_cast<float>(area.bottom - (shown - scale.low) / (scale.high - scale.low) *
                                                    (area.bottom - area.top));
    };
    const double slot = (area.right - area.left) / static_cast<double>(ErrorHistory::Capacity - 1);
    const std::size_t offset = ErrorHistory::Capacity - samples.size();
    const auto xOf = [&](std::size_t index) {
        return static_cast<float>(area.left + static_cast<double>(offset + index) * slot);
    };
    drawValueAxis(scale, area, layout, yOf, surface);
    surface.setForeColour(PlotAxisColour);
    drawCycleLabels(area.left, area.right, area.bottom, layout, surface);
    // Marks where the target or the scheme changed.
    surface.setForeColour(PlotChangeColour);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].change) {
            surface.line(xOf(i), static_cast<float>(area.top), xOf(i),
                         static_cast<float>(area.bottom));
        }
    }
    drawTraces(samples, signalSet, racing, xOf, yOf, surface);
}

double PlotLayout::measure(std::string_view text) const {
    if (textWidth) {
        return textWidth(text);
    }
    return 0.6 * lineHeight * static_cast<double>(text.size());
}

double MeasuredTexts::width(std::string_view text, double lineHeight) const {
    if (const auto found = widths_.find(text); found != widths_.end()) {
        return found->second;
    }
    double sum = 0;
    for (const char c : text) {
        const auto character = widths_.find(std::string_view(&c, 1));
        sum += character != widths_.end() ? character->second : 0.6 * lineHeight;
    }
    return sum;
}

std::vector<std::string> plotTexts() {
    std::vector<std::string> texts{
        tr(PlotDistanceLabel), tr(RaceDistanceLegend), tr(PlotEarlierSignalsLabel),
        tr(PlotOffScaleLabel), tr(PlotNowLabel),       tr(PlotCyclesLabel)};
    for (const int signalSet : signalSets()) {
        const SignalNames names = plotSignalNames(signalSet);
        for (std::size_t k = 0; k < 3 && names.names[k] != nullptr; ++k) {
            texts.push_back(signalLegend(names, k));
        }
    }
    for (const char* c = PlotNumberCharacters; *c != '\0'; ++c) {
        texts.emplace_back(1, *c);
    }
    return texts;
}

double niceStep(double range, int ticks) {
    if (!(range > 0) || !std::isfinite(range)) {
        return 1;
    }
    const double rough = range / ticks;
    const double power = std::pow(10, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10 * power;
}

} // namespace servo
