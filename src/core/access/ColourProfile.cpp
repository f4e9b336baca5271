#include "core/access/ColourProfile.h"

#include "core/figure/ArmRenderer.h"
#include "core/lab/ErrorPlot.h"
#include "core/teaching/Grid.h"

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

constexpr Colour Black = rgb(0, 0, 0);

constexpr WindowLook WindowColours{WindowBackground,  Black,           White,
                                   HeadingTextColour, FocusRingColour, PlotBackground};
constexpr WindowLook HighContrastColours{Black,           White, White, HeadingTextColour,
                                         FocusRingColour, Black};

// The colours the persistent picture's strokes are drawn in: the arm and its read-outs, the
// joint markers, the grid, and the window's text colour drawing starts in.
constexpr std::array<Colour, 4> PictureStrokes{White, MarkerColour, GridColour, Black};

struct Channels {
    double red, green, blue;
};

Channels channels(Colour colour) {
    return {static_cast<double>(colour & 255), static_cast<double>((colour >> 8) & 255),
            static_cast<double>((colour >> 16) & 255)};
}

unsigned channelByte(double value) {
    return static_cast<unsigned>(std::lround(std::clamp(value, 0.0, 255.0)));
}

} // namespace

const std::array<ColourSubstitution, 4> HighContrastSubstitutions{{
    {WindowBackground, Black},
    {MarkerColour, rgb(0, 255, 255)},
    {Black, White},
    {PlotBackground, Black},
}};

const WindowLook& windowLook(ColourProfile profile) {
    return profile == ColourProfile::HighContrast ? HighContrastColours : WindowColours;
}

Colour shownColour(Colour drawn, ColourProfile profile) {
    if (profile == ColourProfile::HighContrast) {
        for (const ColourSubstitution& substitution : HighContrastSubstitutions) {
            if (substitution.drawn == drawn) {
                return substitution.shown;
            }
        }
    }
    return drawn;
}

Colour recolouredPixel(Colour pixel, ColourProfile from, ColourProfile to) {
    if (from == to) {
        return pixel;
    }
    // The pixel as background + share * (stroke - background), for the stroke colour that
    // explains it best.
    const Channels p = channels(pixel);
    const Channels fromBackground = channels(shownColour(WindowBackground, from));
    double bestShare = 0;
    double bestMiss = -1;
    Colour bestStroke = White;
    for (const Colour stroke : PictureStrokes) {
        const Channels s = channels(shownColour(stroke, from));
        const Channels d{s.red - fromBackground.red, s.green - fromBackground.green,
                         s.blue - fromBackground.blue};
        const Channels q{p.red - fromBackground.red, p.green - fromBackground.green,
                         p.blue - fromBackground.blue};
        const double length = d.red * d.red + d.green * d.green + d.blue * d.blue;
        if (length == 0) {
            continue;
        }
        const double share =
            std::clamp((q.red * d.red + q.green * d.green + q.blue * d.blue) / length, 0.0, 1.0);
        const double mr = q.red - share * d.red;
        const double mg = q.green - share * d.green;
        const double mb = q.blue - share * d.blue;
        const double miss = mr * mr + mg * mg + mb * mb;
        if (bestMiss < 0 || miss < bestMiss) {
            bestMiss = miss;
            bestShare = share;
            bestStroke = stroke;
        }
    }
    const Channels toBackground = channels(shownColour(WindowBackground, to));
    const Channels toStroke = channels(shownColour(bestStroke, to));
    return rgb(channelByte(toBackground.red + bestShare * (toStroke.red - toBackground.red)),
               channelByte(toBackground.green + bestShare * (toStroke.green - toBackground.green)),
               channelByte(toBackground.blue + bestShare * (toStroke.blue - toBackground.blue)));
}

double relativeLuminance(Colour colour) {
    auto linear = [](double byte) {
        const double c = byte / 255;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const Channels c = channels(colour);
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrastRatio(Colour a, Colour b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace servo
