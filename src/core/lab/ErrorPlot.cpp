#include "core/lab/ErrorPlot.h"

#include "core/lab/RaceArm.h"
#include "core/servo/ErrorFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace servo {

namespace {

std::string tickLabel(double value, double step) {
    if (std::fabs(value) >= 1e6 || step >= 1e6) {
        char text[32];
        std::snprintf(text, sizeof text, "%.0e", value);
        return text;
    }
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    return formatFixed(std::fabs(value) < step / 2 ? 0.0 : value, std::min(decimals, 6));
}

} // namespace

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

void drawErrorPlot(const ErrorHistory& history, int servoType, const PlotLayout& layout,
                   DrawingSurface& surface) {
    surface.clear();
    const double plotLeft = layout.left;
    const double plotRight = layout.width - layout.right;
    const double plotTop = layout.top;
    const double plotBottom = layout.height - layout.bottom;
    if (plotRight - plotLeft < 20 || plotBottom - plotTop < 20) {
        return;
    }
    const std::vector<ErrorSample> samples = history.samples();
    const SignalNames names = signalNamesOf(servoType);

    // Scale: every finite value shown, 0 always in range, at least 1 unit tall.
    double low = 0;
    double high = 1;
    for (const ErrorSample& sample : samples) {
        for (const double value : {sample.distance, sample.signalValues[0], sample.signalValues[1],
                                   sample.signalValues[2], sample.raceDistance}) {
            if (std::isfinite(value)) {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        }
    }
    // As many value ticks as the height holds without their labels touching, 2 to 5.
    const int ticks =
        std::clamp(static_cast<int>((plotBottom - plotTop) / (layout.lineHeight * 1.5)), 2, 5);
    const double step = niceStep(high - low, ticks);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low) {
        low = 0;
        high = 1;
    }
    auto yOf = [&](double value) {
        return static_cast<float>(plotBottom -
                                  (value - low) / (high - low) * (plotBottom - plotTop));
    };
    const double slot = (plotRight - plotLeft) / static_cast<double>(ErrorHistory::Capacity - 1);
    const std::size_t offset = ErrorHistory::Capacity - samples.size();
    auto xOf = [&](std::size_t index) {
        return static_cast<float>(plotLeft + static_cast<double>(offset + index) * slot);
    };

    // Axes, value ticks and labels.
    const auto left = static_cast<float>(plotLeft);
    const auto right = static_cast<float>(plotRight);
    const auto top = static_cast<float>(plotTop);
    const auto bottom = static_cast<float>(plotBottom);
    surface.setForeColour(PlotAxisColour);
    surface.line(left, top, left, bottom);
    surface.line(left, bottom, right, bottom);
    for (double value = low; value <= high + step / 2; value += step) {
        const float y = yOf(value);
        surface.line(left - 4, y, left, y);
        if (std::fabs(value) < step / 2) {
            surface.line(left, y, right, y); // the zero line
        }
        surface.setTextPosition(2, static_cast<float>(y - layout.lineHeight / 2));
        surface.print(tickLabel(value, step));
    }
    // Cycle ticks, counted back from the newest.
    for (int ago = 0; ago < static_cast<int>(ErrorHistory::Capacity); ago += 100) {
        const auto x = static_cast<float>(plotRight - ago * slot);
        surface.line(x, bottom, x, bottom + 4);
        surface.setTextPosition(x - static_cast<float>(layout.lineHeight), bottom + 4);
        surface.print(ago == 0 ? std::string(tr(PlotNowLabel)) : "-" + std::to_string(ago));
    }
    surface.setTextPosition(left, bottom + 4);
    surface.print(tr("cycles"));

    // Marks where the target or the scheme changed.
    surface.setForeColour(PlotChangeColour);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].change) {
            surface.line(xOf(i), top, xOf(i), bottom);
        }
    }

    // The series: distance first, then the scheme's signals; gaps where a value is not finite.
    auto series = [&](auto valueOf, Colour colour) {
        surface.setForeColour(colour);
        bool drawing = false;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double value = valueOf(samples[i]);
            if (!std::isfinite(value)) {
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
    for (std::size_t k = 0; k < 3; ++k) {
        series([k](const ErrorSample& s) { return s.signalValues[k]; }, PlotSignalColours[k]);
    }
    const bool racing = std::any_of(samples.begin(), samples.end(), [](const ErrorSample& s) {
        return std::isfinite(s.raceDistance);
    });
    if (racing) {
        series([](const ErrorSample& s) { return s.raceDistance; }, RaceArmColour);
    }
    series([](const ErrorSample& s) { return s.distance; }, PlotDistanceColour);

    // Legend and unit.
    const auto legendY = static_cast<float>((plotTop - layout.lineHeight) / 2);
    float legendX = static_cast<float>(plotLeft);
    surface.setForeColour(PlotDistanceColour);
    surface.setTextPosition(legendX, legendY);
    surface.print(tr("distance (arm units)"));
    for (std::size_t k = 0; k < 3 && names.names[k] != nullptr; ++k) {
        legendX += static_cast<float>(layout.legendEntryWidth);
        surface.setForeColour(PlotSignalColours[k]);
        surface.setTextPosition(legendX, legendY);
        surface.print(std::string(tr(names.names[k])) +
                      (*names.unit != '\0' ? " (" + std::string(tr(names.unit)) + ")" : ""));
    }
    if (racing) {
        legendX += static_cast<float>(layout.legendEntryWidth);
        surface.setForeColour(RaceArmColour);
        surface.setTextPosition(legendX, legendY);
        surface.print(tr(RaceDistanceLegend));
    }
}

PlotLayout plotLayoutFor(double width, double height, const PlotTextMetrics& text) {
    PlotLayout layout{width, height};
    layout.lineHeight = text.lineHeight;
    layout.left = text.valueLabelWidth + 10;
    layout.top = text.lineHeight + 8;
    layout.bottom = text.lineHeight + 6;
    layout.right = text.nowWidth - text.lineHeight + 8;
    layout.legendEntryWidth = text.legendSampleWidth + 24;
    return layout;
}

} // namespace servo
