#pragma once

#include "core/lab/Lab.h"
#include "core/state/Geometry.h"

#include <array>

namespace servo {

// How the window and the picture are coloured. The window's own colours are the default; high
// contrast is the alternate version for students who need it: every text at least 4.5:1
// against its background, every line and marker at least 3:1. It is a display setting only:
// what the simulation draws and where stays the same, only the colours it is shown in change.
enum class ColourProfile { Window, HighContrast };

// The profile the lab's settings choose.
inline ColourProfile colourProfileOf(const LabSettings& settings) {
    return settings.highContrast ? ColourProfile::HighContrast : ColourProfile::Window;
}

// The colours of the window around the picture.
struct WindowLook {
    Colour form;    // behind the controls and the picture
    Colour text;    // the window's own text (the lab panel's captions and figures)
    Colour boxText; // the check boxes' captions
    Colour heading; // the two heading boxes' text
    Colour focus;   // the ring around the control that has the keyboard focus
    Colour plotBackground;
};
const WindowLook& windowLook(ColourProfile profile);

// A colour drawn with that high contrast shows as another one.
struct ColourSubstitution {
    Colour drawn;
    Colour shown;
};
// The colours high contrast replaces; every other colour shows as drawn.
extern const std::array<ColourSubstitution, 4> HighContrastSubstitutions;

// A colour the simulation, the cues or the plot draws with, as the profile shows it.
Colour shownColour(Colour drawn, ColourProfile profile);

// A pixel of the persistent picture shown in `from`, as it would have been shown in `to`. The
// picture is its background with strokes of a few colours whose smoothed edges blend each
// stroke colour with the background; a pixel keeps its blend and takes the other profile's
// colours, so switching the profile keeps everything drawn so far (the path display).
Colour recolouredPixel(Colour pixel, ColourProfile from, ColourProfile to);

// WCAG 2 relative luminance (0..1) and contrast ratio (1..21) of two colours.
double relativeLuminance(Colour colour);
double contrastRatio(Colour a, Colour b);

} // namespace servo
