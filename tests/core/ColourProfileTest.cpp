#include "core/access/ColourProfile.h"

#include "core/figure/ArmRenderer.h"
#include "core/lab/Cues.h"
#include "core/lab/ErrorPlot.h"
#include "core/lab/RaceArm.h"
#include "core/teaching/Grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace servo::testing {
namespace {

struct Pairing {
    const char* what;
    Colour colour;
    Colour background;
    double least; // 4.5 for text, 3 for lines and markers
};

// Every text and line of high contrast against what it stands on.
std::vector<Pairing> highContrastPairings() {
    const WindowLook& look = windowLook(ColourProfile::HighContrast);
    const auto shown = [](Colour c) { return shownColour(c, ColourProfile::HighContrast); };
    const Colour picture = shown(WindowBackground);
    std::vector<Pairing> pairs{
        {"box caption", look.boxText, look.form, 4.5},
        {"window text", look.text, look.form, 4.5},
        {"heading", look.heading, look.form, 4.5},
        {"focus ring", look.focus, look.form, 3},
        {"focus ring on the picture", look.focus, picture, 3},
        {"arm and read-outs", shown(White), picture, 4.5},
        {"joint markers", shown(MarkerColour), picture, 3},
        {"grid", shown(GridColour), picture, 3},
        {"target marker", shown(TargetMarkerColour), picture, 3},
        {"out-of-reach warning", shown(WarningColour), picture, 4.5},
        {"ghosts", shown(GhostColour), picture, 3},
        {"ghosts in force", shown(GhostInForceColour), picture, 3},
        {"reach boundary", shown(ReachBoundaryColour), picture, 3},
        {"race arm", shown(RaceArmColour), picture, 3},
        {"manipulability ellipse", shown(ManipulabilityColour), picture, 3},
        {"plot axis and labels", shown(PlotAxisColour), look.plotBackground, 4.5},
        {"plot changes", shown(PlotChangeColour), look.plotBackground, 3},
        {"plot distance", shown(PlotDistanceColour), look.plotBackground, 4.5},
    };
    for (const Colour signal : PlotSignalColours) {
        pairs.push_back({"plot signal", shown(signal), look.plotBackground, 4.5});
    }
    return pairs;
}

TEST(ColourProfile, HighContrastMeetsItsRatios) {
    for (const Pairing& pair : highContrastPairings()) {
        EXPECT_GE(contrastRatio(pair.colour, pair.background), pair.least) << pair.what;
    }
    EXPECT_NEAR(contrastRatio(White, rgb(0, 0, 0)), 21, 1e-9);
    // The window's own blue behind white text is the one the default profile keeps.
    EXPECT_NEAR(contrastRatio(White, WindowBackground), 3.31, 0.01);
}

TEST(ColourProfile, TheWindowProfileShowsColoursAsDrawn) {
    for (const ColourSubstitution& s : HighContrastSubstitutions) {
        EXPECT_EQ(shownColour(s.drawn, ColourProfile::Window), s.drawn);
        EXPECT_EQ(shownColour(s.drawn, ColourProfile::HighContrast), s.shown);
    }
    EXPECT_EQ(windowLook(ColourProfile::Window).form, WindowBackground);
}

int channelDistance(Colour a, Colour b) {
    int most = 0;
    for (int shift : {0, 8, 16}) {
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 255) -
                                       static_cast<int>((b >> shift) & 255)));
    }
    return most;
}

Colour blend(Colour background, Colour stroke, double share) {
    auto channel = [&](int shift) {
        const double b = (background >> shift) & 255;
        const double s = (stroke >> shift) & 255;
        return static_cast<unsigned>(b + share * (s - b) + 0.5);
    };
    return rgb(channel(0), channel(8), channel(16));
}

TEST(ColourProfile, PicturePixelsKeepTheirBlendAcrossProfiles) {
    using enum ColourProfile;
    for (const Colour stroke : {White, MarkerColour, GridColour}) {
        for (const double share : {0.0, 0.25, 0.5, 1.0}) {
            const Colour inWindow = blend(WindowBackground, stroke, share);
            const Colour inHigh = recolouredPixel(inWindow, Window, HighContrast);
            const Colour expected = blend(shownColour(WindowBackground, HighContrast),
                                          shownColour(stroke, HighContrast), share);
            EXPECT_LE(channelDistance(inHigh, expected), 2) << stroke << " " << share;
            EXPECT_LE(channelDistance(recolouredPixel(inHigh, HighContrast, Window), inWindow), 2)
                << stroke << " " << share;
        }
    }
    EXPECT_EQ(recolouredPixel(0x123456, Window, Window), 0x123456u);
}

} // namespace
} // namespace servo::testing
