#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ReverseKinematicSolution.h"
#include "core/state/ControlBoxes.h"
#include "core/state/SimulationState.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace servo {

// The names, in order, of a scheme's plotted signals, with their units.
struct SignalNames {
    std::array<const char*, 3> names; // nullptr past the last
    const char* unit;                 // of the signals; "" where each name carries its own
};

// A scheme's plotted signals at one cycle, in the order of its SignalNames; NaN past the last
// and where the scheme has no value this cycle.
using SignalValues = std::array<double, 3>;

// The plot shows manipulability in hundreds of arm units squared, so that it shares its scale
// with the distance.
inline constexpr double ManipulabilityPlotUnit = 100;

// One servo scheme: everything that the handlers, the control cycle, the lab, the announcer,
// the front ends and the trace driver need to know of it. A new scheme is its law and one row
// of the table in ServoSchemes.cpp; nothing else switches over servo types.
struct ServoScheme {
    int servoType; // the value of SimulationState::servoType while it is in force
    CheckBox box;  // the servo box that selects it; NoBox for the lab's schemes
    const char* caption;
    const char* name; // one word, for the trace driver and experiment files
    // Its text in the explanation box, marked for the catalogue, lines ended by '\n' (the box
    // gets them as CR LF, see explanationOf).
    const char* explanation;
    void (*step)(SimulationState&, DrawingSurface&); // one servo step, ending in a redraw
    // It solves for one of the four elbow configurations: the elbow boxes show while it is in
    // force, and a target it cannot reach is "out of reach" (announced, ghost arms drawn).
    bool showsElbowBoxes;
    // A Jacobian scheme: it servos the hand's angle as well as the point, so the lab takes its
    // manipulability with the hand's angle held (see Manipulability in ArmJacobian.h).
    bool servosHandAngle;
    SignalNames signalNames;
    // Its signals as a running cycle has left the state; `wristScrollPosition` is the wrist
    // scroll bar's position.
    SignalValues (*signalValues)(const SimulationState& state, int wristScrollPosition);
    // What the whole-state announcement adds for it (its read-outs), or nullptr for nothing.
    std::string (*readOut)(const SimulationState& state);
    // Its place, from 0, in the lab's scheme list (and, after "none", the race's).
    std::size_t labPlace;
};

inline constexpr CheckBox NoBox = static_cast<CheckBox>(0);

// The three schemes of the servo boxes, in the order of their servo types 1..3.
std::span<const ServoScheme> servoSchemes();
// The lab's schemes, which no servo box selects (servo types 4 on).
std::span<const ServoScheme> labSchemes();
// Every scheme, in the order of their servo types from 1.
std::span<const ServoScheme> allSchemes();
// The scheme of that name, or nullptr.
const ServoScheme* servoSchemeNamed(std::string_view name);

// The scheme of a servo type, or nullptr when none has that type.
const ServoScheme* servoSchemeOf(int servoType);
// The scheme a box selects, or nullptr for a box that selects none.
const ServoScheme* servoSchemeOf(CheckBox box);

// Every scheme in the order of the lab's scheme list.
std::vector<const ServoScheme*> labSchemeList();
// The servo type at a place of the lab's scheme list, or 0 (none) at a place without a scheme:
// the race's list, "none" first, reads servoTypeAtLabPlace(index - 1).
int servoTypeAtLabPlace(int place);
// A servo type's place in the lab's scheme list, or -1 for none (the race's list: place + 1).
int labPlaceOf(int servoType);

// The scheme's explanation as the explanation box takes it, lines joined by CR LF (English: a
// front end translates it as it shows it).
std::string explanationOf(const ServoScheme& scheme);

// The signal names of a servo type's scheme; none for a type without a scheme.
SignalNames signalNamesOf(int servoType);
// A servo type's signals in the state as a running cycle has left it; NaN for none.
SignalValues signalValuesOf(const SimulationState& state, int wristScrollPosition);

// How freely the effector can move at the state's pose, for its scheme (with the hand's angle
// held under a scheme that servos it).
Manipulability manipulabilityOf(const SimulationState& state);

// The caption of any of the seven check boxes: its scheme's or its elbow configuration's.
const char* boxCaption(CheckBox box);

// What the reverse kinematic law is asked for the current target and the wrist setting of the
// scroll position, in the given elbow configuration.
ReverseKinematicGoal goalForTarget(const SimulationState& state, int wristScrollPosition,
                                   int elbowPair, int elbowChoice);

} // namespace servo
