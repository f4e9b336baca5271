#include "TestWorld.h"

#include "core/lab/ErrorPlot.h"
#include "core/language/Translation.h"
#include "core/simulation/ServoSchemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

// What a drawing of the plot shows: its texts and its strokes, each with its colour.
struct Drawn {
    struct Text {
        float x;
        float y;
        std::string text;
        Colour colour;
    };
    struct Stroke {
        float x1;
        float y1;
        float x2;
        float y2;
        Colour colour;
    };
    std::vector<Text> texts;
    std::vector<Stroke> strokes; // trace pieces (a point starts a trace)
    std::vector<Stroke> lines;   // axes, ticks and marks

    explicit Drawn(const std::vector<DrawOp>& ops) {
        Colour colour = 0;
        float x = 0;
        float y = 0;
        for (const DrawOp& op : ops) {
            switch (op.kind) {
            case DrawOp::Kind::ForeColour:
                colour = op.colour;
                break;
            case DrawOp::Kind::TextPosition:
                x = op.x1;
                y = op.y1;
                break;
            case DrawOp::Kind::Print:
                texts.push_back({x, y, op.text, colour});
                break;
            case DrawOp::Kind::Point:
                strokes.push_back({op.x1, op.y1, op.x1, op.y1, colour});
                x = op.x1;
                y = op.y1;
                break;
            case DrawOp::Kind::LineTo:
                strokes.push_back({x, y, op.x1, op.y1, colour});
                x = op.x1;
                y = op.y1;
                break;
            case DrawOp::Kind::Line:
                lines.push_back({op.x1, op.y1, op.x2, op.y2, colour});
                break;
            default:
                break;
            }
        }
    }
    const Text* find(const std::string& text) const {
        const auto found =
            std::find_if(texts.begin(), texts.end(), [&](const Text& t) { return t.text == text; });
        return found != texts.end() ? &*found : nullptr;
    }
};

// Seven units a character (UTF-8 continuation bytes not counted), lines 14 units tall.
double sevenPerCharacter(std::string_view text) {
    return 7.0 * static_cast<double>(std::count_if(text.begin(), text.end(), [](char c) {
               return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
           }));
}

PlotLayout layoutOf(double width, double height) {
    return {width, height, 14, sevenPerCharacter};
}

// Records `cycles` running cycles of a scheme whose signals `set` puts into the state.
template <typename Set>
void record(ErrorHistory& history, SimulationState& state, int servoType, int cycles, Set set) {
    state.servoType = servoType;
    for (int i = 0; i < cycles; ++i) {
        set(state, i);
        history.record(state, 0);
    }
}

std::vector<DrawOp> draw(const ErrorHistory& history, int servoType, const PlotLayout& layout) {
    DisplayList list;
    drawErrorPlot(history, servoType, layout, list);
    return list.ops();
}

// After a change of scheme the earlier stretch's signals keep their meaning: drawn dimmed, not
// in the colours the legend now gives the new scheme's signals, under a legend entry of their
// own; the legend names only the scheme in force.
TEST(ErrorPlot, EarlierSchemesSignalsAreDimmedAndNotInTheLegend) {
    SimulationState state = straightUpArm();
    ErrorHistory history;
    record(history, state, ServoForwardXY, 200, [](SimulationState& s, int i) {
        s.xError = 20 * std::sin(i / 10.0);
        s.yError = 10 * std::cos(i / 10.0);
    });
    record(history, state, ServoDampedLeastSquares, 100, [](SimulationState& s, int) {
        s.manipulabilityValue = 900;
        s.largestJointStep = 0.01;
    });
    const Drawn drawn(draw(history, ServoDampedLeastSquares, layoutOf(800, 200)));
    // The scheme change's mark: the rightmost orange vertical line.
    float changeX = 0;
    for (const auto& line : drawn.lines) {
        if (line.colour == PlotChangeColour && line.x1 == line.x2) {
            changeX = std::max(changeX, line.x1);
        }
    }
    ASSERT_GT(changeX, 0);
    std::size_t dimmedBefore = 0;
    for (const auto& stroke : drawn.strokes) {
        if (std::find(PlotSignalColours.begin(), PlotSignalColours.end(), stroke.colour) !=
            PlotSignalColours.end()) {
            EXPECT_GE(std::min(stroke.x1, stroke.x2), changeX - 0.01F);
        }
        dimmedBefore += stroke.colour == PlotEarlierSignalColour && stroke.x2 < changeX;
    }
    EXPECT_GT(dimmedBefore, 300U); // both of the x,y scheme's signals, each cycle
    EXPECT_EQ(drawn.find("X error (arm units)"), nullptr);
    ASSERT_NE(drawn.find("manipulability / 100"), nullptr);
    EXPECT_EQ(drawn.find("manipulability / 100")->colour, PlotSignalColours[0]);
    ASSERT_NE(drawn.find(PlotEarlierSignalsLabel), nullptr);
    EXPECT_EQ(drawn.find(PlotEarlierSignalsLabel)->colour, PlotEarlierSignalColour);
}

// A law that diverges (values to 5e16) leaves the axis within +-PlotValueLimit, says "off
// scale", and the history before the divergence keeps a readable height.
TEST(ErrorPlot, TheAxisStaysReadableWhenALawDiverges) {
    SimulationState state = straightUpArm();
    ErrorHistory history;
    record(history, state, ServoForwardXY, 300, [](SimulationState& s, int i) {
        s.xError = 50 * std::sin(i / 10.0);
        s.yError = 0;
    });
    record(history, state, ServoForwardXY, 110,
           [](SimulationState& s, int i) { s.xError = 50 * std::pow(1.4, i); });
    ASSERT_GT(history.samples().back().signalValues[0], 5e16);
    const PlotLayout layout = layoutOf(800, 200);
    const Drawn drawn(draw(history, ServoForwardXY, layout));
    ASSERT_NE(drawn.find(PlotOffScaleLabel), nullptr);
    auto top = static_cast<float>(layout.height);
    float bottom = 0;
    std::vector<float> xErrorHeights;
    for (const auto& line : drawn.lines) {
        if (line.colour == PlotAxisColour && line.x1 == line.x2) {
            top = std::min(top, std::min(line.y1, line.y2));
            bottom = std::max(bottom, std::max(line.y1, line.y2));
        }
    }
    for (const auto& stroke : drawn.strokes) {
        if (stroke.colour == PlotSignalColours[0]) {
            xErrorHeights.push_back(stroke.y2);
        }
    }
    for (const auto& text : drawn.texts) {
        if (text.x < 60 && text.y > top - 14 && text.y < bottom) { // a value label
            EXPECT_LE(std::fabs(std::stod(text.text)), PlotValueLimit) << text.text;
        }
    }
    ASSERT_GE(xErrorHeights.size(), 300U);
    const auto [low, high] =
        std::minmax_element(xErrorHeights.begin(), xErrorHeights.begin() + 300);
    EXPECT_GT(*high - *low, (bottom - top) / 10) << "the history before flattened";
}

// In every language, for a narrow and a wide plot: every text lies on the surface whole, none
// touches another, and the legend stands above the traces.
TEST(ErrorPlot, TextsStandClearOfEachOtherAndOfTheTraces) {
    SimulationState state = straightUpArm();
    ErrorHistory history;
    record(history, state, ServoReverseKinematic, 300, [](SimulationState&, int) {});
    record(history, state, ServoForwardRTheta, 300, [](SimulationState& s, int i) {
        s.radiusError = 30 * std::sin(i / 7.0);
        s.elevationError = 0.5 * std::cos(i / 7.0);
    });
    for (const Language& language : languages()) {
        setLanguage(language.code);
        for (const double width : {420.0, 900.0}) {
            const PlotLayout layout = layoutOf(width, 180);
            const Drawn drawn(draw(history, ServoForwardRTheta, layout));
            auto traceTop = static_cast<float>(layout.height);
            for (const auto& stroke : drawn.strokes) {
                traceTop = std::min(traceTop, std::min(stroke.y1, stroke.y2));
            }
            for (std::size_t i = 0; i < drawn.texts.size(); ++i) {
                const auto& a = drawn.texts[i];
                const double aRight = a.x + sevenPerCharacter(a.text);
                EXPECT_GE(a.x, 0) << language.code << " " << a.text;
                EXPECT_LE(aRight, width) << language.code << " " << a.text;
                EXPECT_LE(a.y + layout.lineHeight, layout.height) << language.code << a.text;
                const bool legend = a.y < 10; // the first legend row
                if (legend) {
                    EXPECT_LE(a.y + layout.lineHeight, traceTop) << language.code << a.text;
                }
                for (std::size_t j = i + 1; j < drawn.texts.size(); ++j) {
                    const auto& b = drawn.texts[j];
                    const bool apart = aRight <= b.x || b.x + sevenPerCharacter(b.text) <= a.x ||
                                       a.y + layout.lineHeight <= b.y ||
                                       b.y + layout.lineHeight <= a.y;
                    EXPECT_TRUE(apart) << language.code << ": '" << a.text << "' '" << b.text;
                }
            }
            EXPECT_NE(drawn.find(tr(PlotNowLabel)), nullptr) << language.code;
        }
    }
    setLanguage("en");
}

} // namespace
} // namespace servo::testing
