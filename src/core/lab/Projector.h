#pragma once

namespace servo {

// How the picture, the cues and the controls look outside and inside projector mode.
inline constexpr double ReadoutPoints = 8.25;        // the read-outs on the picture
inline constexpr double CuePoints = 11;              // the cues' texts
inline constexpr double CueStrokePixels = 1.5;       // the cues' lines, device-independent
inline constexpr double ProjectorPoints = 24;        // read-outs and cues in projector mode
inline constexpr double ProjectorStrokePixels = 3;   // device pixels, picture and cues
inline constexpr double ProjectorControlScale = 1.6; // the control column
inline constexpr double LabPanelPoints = 9;          // the lab panel's own text
inline constexpr double ProjectorLabPanelPoints = 16;

} // namespace servo
