#pragma once

#include "core/language/Translation.h"

#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

#include <array>

namespace servo {

// The lab's cues, each on or off.
struct CueSettings {
    bool targetMarker = false;   // a marker on the target
    bool outOfReach = false;     // "OUT OF REACH" by the target while the reach test fails
    bool stoppedBanner = false;  // "STOPPED" while stopped
    bool ghosts = false;         // reverse kinematic: the four solutions and the reach boundary
    bool manipulability = false; // the manipulability ellipse at the effector
    bool torqueBars = false;     // dynamics mode: each motor's torque as a bar at its joint
};

// One cue as the menus and the panel list it: its caption ('&' before the mnemonic letter), its
// one-word name (experiments list cues by it) and its setting. The Lab menu gives the n-th cue the
// keys Ctrl+n.
struct Cue {
    const char* caption;
    const char* name;
    bool CueSettings::*setting;
};
inline constexpr std::array<Cue, 6> Cues{{
    {N_("Target &Marker"), "marker", &CueSettings::targetMarker},
    {N_("&Out of Reach"), "reach", &CueSettings::outOfReach},
    {N_("Stopped &Banner"), "stopped", &CueSettings::stoppedBanner},
    {N_("&Ghosts and Reach"), "ghosts", &CueSettings::ghosts},
    {N_("M&anipulability"), "manipulability", &CueSettings::manipulability},
    {N_("Torque Bars"), "torque", &CueSettings::torqueBars},
}};

inline constexpr Colour TargetMarkerColour = rgb(255, 230, 0);
inline constexpr Colour WarningColour = rgb(255, 235, 235);
inline constexpr Colour GhostColour = rgb(120, 180, 215);
inline constexpr Colour GhostInForceColour = rgb(255, 240, 150);
inline constexpr Colour ReachBoundaryColour = rgb(190, 225, 245);
inline constexpr Colour ManipulabilityColour = rgb(170, 255, 170);
inline constexpr Colour TorqueBarColour = rgb(150, 210, 255);
inline constexpr Colour SaturatedTorqueColour = rgb(255, 90, 90);
// A torque bar at its motor's limit is this long, in window units; it stands up for a torque
// that turns its joint anticlockwise, down for clockwise.
inline constexpr double TorqueBarLength = 12;
// The ellipse's half axes are the singular values of the effector's velocity per joint rate
// (arm units per radian, see manipulabilityOf) times this, in arm units per (arm unit per
// radian).
inline constexpr double ManipulabilityEllipseScale = 0.25;
inline constexpr const char* OutOfReachText = N_("OUT OF REACH");
inline constexpr const char* StoppedText = N_("STOPPED");

// Draws the cues that are on, in window units, onto a layer above the persistent picture that
// the front end clears before each call; the picture itself is never drawn on.
void drawCues(const SimulationState& state, int wristScrollPosition, const CueSettings& cues,
              DrawingSurface& layer);

} // namespace servo
