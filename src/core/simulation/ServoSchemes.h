#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/state/ControlBoxes.h"
#include "core/state/SimulationState.h"

#include <span>
#include <string>

namespace servo {

// One servo scheme: everything that the handlers, the control cycle, the front ends and the
// trace driver need to know of it.
struct ServoScheme {
    int servoType; // the value of SimulationState::servoType while it is in force
    CheckBox box;  // the servo box that selects it; NoBox for the lab's schemes
    const char* caption;
    const char* name; // one word, for the trace driver and experiment files
    std::string SimulationState::*explanation;       // its text in the explanation box
    void (*step)(SimulationState&, DrawingSurface&); // one servo step, ending in a redraw
    bool showsElbowBoxes;
};

inline constexpr CheckBox NoBox = static_cast<CheckBox>(0);

// The three schemes of the servo boxes, in the order of their servo types 1..3.
std::span<const ServoScheme> servoSchemes();
// The lab's Jacobian schemes, chosen in the lab panel (servo types 4..6).
std::span<const ServoScheme> labSchemes();
// All six, servo types 1..6.
std::span<const ServoScheme> allSchemes();
// The scheme of that name, or nullptr.
const ServoScheme* servoSchemeNamed(std::string_view name);

// The scheme of a servo type, or nullptr when none has that type.
const ServoScheme* servoSchemeOf(int servoType);
// The scheme a box selects, or nullptr for a box that selects none.
const ServoScheme* servoSchemeOf(CheckBox box);

// The caption of any of the seven check boxes: its scheme's or its elbow configuration's.
const char* boxCaption(CheckBox box);

} // namespace servo
