#pragma once

#include <array>
#include <string_view>

namespace servo {

// The column of controls over the picture's top left corner, as both front ends lay it out:
// each control's name (the window's object name; the page's element id, or its box's
// "NAME-box") and its place and size in twips, 15 to a device-independent pixel.
struct ControlPlace {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int TwipsPerPixel = 15;

inline constexpr std::array<ControlPlace, 14> ControlPlaces{{
    {"Text3", 1560, 120, 1935, 285},   // the "Choose Servo" heading
    {"VScroll1", 600, 120, 255, 2895}, // the wrist scroll bar
    {"Check1", 1320, 480, 2535, 255},  // the servo boxes
    {"Check3", 1320, 840, 2895, 255},
    {"Check2", 1320, 1200, 2655, 255},
    {"Check4", 1560, 1800, 1815, 255}, // the elbow boxes
    {"Check5", 1560, 2160, 1815, 255},
    {"Check6", 1560, 2520, 1695, 255},
    {"Check7", 1560, 2880, 1455, 255},
    {"Text2", 0, 3120, 1455, 285},      // the "Wrist Angle" heading
    {"Command4", 2400, 3480, 975, 495}, // the path button
    {"Command1", 240, 3600, 975, 375},  // "Open"
    {"Command2", 1320, 3600, 975, 375}, // "Close"
    {"Text1", 240, 4080, 3375, 2055},   // the explanation box
}};

// A control's place in whole device-independent pixels (the twips divided down, as the window
// has always rounded them).
struct PixelPlace {
    int left;
    int top;
    int width;
    int height;
};
constexpr PixelPlace pixelsOf(const ControlPlace& place) {
    return {place.left / TwipsPerPixel, place.top / TwipsPerPixel, place.width / TwipsPerPixel,
            place.height / TwipsPerPixel};
}

// The place of the control of that name; the first row for an unknown name (a programming
// error the layout test catches).
constexpr const ControlPlace& controlPlace(std::string_view name) {
    for (const ControlPlace& place : ControlPlaces) {
        if (name == place.name) {
            return place;
        }
    }
    return ControlPlaces.front();
}

} // namespace servo
