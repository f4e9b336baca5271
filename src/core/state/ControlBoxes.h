#pragma once

#include "core/language/Translation.h"

namespace servo {

// The check boxes of the window, by their numbers: 1..3 choose the servo scheme
// ("Reverse Kinematic", "Forward Kin.(x,y)", "Forward Kin.(R,ang.)"), 4..7 the elbow
// configuration ("Elbow Down", "Elbow Up", "Elbow Right", "Elbow Left").
enum class CheckBox { Check1 = 1, Check2, Check3, Check4, Check5, Check6, Check7 };
inline constexpr int CheckBoxCount = 7;

// The wrist scroll bar's range, 0 (top: the hand pointing down) to WristScrollMax, and its
// steps: a line is 11.25 degrees, a page 45.
inline constexpr int WristScrollMax = 32767;
inline constexpr int WristScrollLine = 1000;
inline constexpr int WristScrollPage = 4000;
constexpr int clampedWristScroll(int position) {
    return position < 0 ? 0 : position > WristScrollMax ? WristScrollMax : position;
}

// The path button's captions: what its next click does.
inline constexpr const char* ShowPathCaption = N_("show path");
inline constexpr const char* ClearPathCaption = N_("clear");

} // namespace servo
