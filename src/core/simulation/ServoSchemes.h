#pragma once

#include "core/interfaces/ControlPanel.h"
#include "core/interfaces/DrawingSurface.h"
#include "core/state/SimulationState.h"

#include <array>
#include <string>

namespace servo {

// One servo scheme: everything that the handlers, the control cycle, the front ends and the
// trace driver need to know of it.
struct ServoScheme {
    int servoType; // the value of SimulationState::servoType while it is in force
    CheckBox box;  // the servo box that selects it
    const char* caption;
    std::string SimulationState::*explanation;       // its text in the explanation box
    void (*step)(SimulationState&, DrawingSurface&); // one servo step, ending in a redraw
    bool showsElbowBoxes;
};

// The three schemes, in the order of their servo types 1..3.
const std::array<ServoScheme, 3>& servoSchemes();

// The scheme of a servo type, or nullptr when none has that type.
const ServoScheme* servoSchemeOf(int servoType);
// The scheme a box selects, or nullptr for a box that selects none.
const ServoScheme* servoSchemeOf(CheckBox box);

// The caption of any of the seven check boxes: its scheme's or its elbow configuration's.
const char* boxCaption(CheckBox box);

} // namespace servo
