#pragma once

#include "core/language/Translation.h"

namespace servo {

// The window's own texts besides the boxes' captions (the scheme and elbow tables) and the
// path button's (the handlers').
inline constexpr const char* WindowTitle =
    N_("Servo Simulator-Demonstrate by choosing a target with the mouse");
inline constexpr const char* ChooseServoCaption = N_("Choose Servo");
inline constexpr const char* WristAngleCaption = N_("Wrist Angle");
inline constexpr const char* OpenCaption = N_("Open");
inline constexpr const char* CloseCaption = N_("Close");
inline constexpr const char* ExplanationCaption = N_("Explanation");
// The page's own: its reload button and the message of a crash.
inline constexpr const char* ReloadCaption = N_("Reload");
inline constexpr const char* CrashedText =
    N_("The simulator stopped because of an internal error. Reload the page to start again.");
// What the page says when it cannot start the module (it takes them from startup-texts.js,
// which the build writes from the catalogue, as the module is not there to ask).
inline constexpr const char* NoWebAssemblyText =
    N_("This browser cannot run WebAssembly, which the simulator needs. Any current version of "
       "Chrome, Edge, Firefox or Safari can.");
inline constexpr const char* NotStartedText =
    N_("The simulator could not start. Reload the page to try again.");
inline constexpr const char* NotLoadedText =
    N_("The simulator could not be loaded (%s). Check the connection and reload the page.");
// The button of every message box.
inline constexpr const char* OkCaption = N_("OK");
inline constexpr const char* SurfaceCaption = N_("Robot arm");

} // namespace servo
