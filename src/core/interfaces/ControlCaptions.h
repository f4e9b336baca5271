#pragma once

namespace servo {

// The window's own texts besides the boxes' captions (the scheme and elbow tables) and the
// path button's (the handlers').
inline constexpr const char* WindowTitle =
    "Servo Simulator-Demonstrate by choosing a target with the mouse";
inline constexpr const char* ChooseServoCaption = "Choose Servo";
inline constexpr const char* WristAngleCaption = "Wrist Angle";
inline constexpr const char* OpenCaption = "Open";
inline constexpr const char* CloseCaption = "Close";
inline constexpr const char* ExplanationCaption = "Explanation";
inline constexpr const char* SurfaceCaption = "Robot arm";

} // namespace servo
