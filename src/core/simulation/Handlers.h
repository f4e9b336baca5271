#pragma once

#include "core/language/Translation.h"

#include "core/interfaces/DrawingSurface.h"
#include "core/simulation/Controls.h"
#include "core/state/SimulationState.h"

namespace servo {

// What the window's handlers do to the simulation. Each only writes the state or the controls'
// record; the next control cycle acts on it.

// A pointer press, any button, on servo box 1..3: selects that scheme at once, unchecks the two
// other servo boxes and shows the scheme's explanation. The pressed box's own check mark is
// left to the click that follows.
void servoBoxPressed(SimulationState& state, Controls& controls, CheckBox box);
// A scheme chosen by its servo type in the lab panel: a box's scheme as if its box were
// clicked (it ends checked); a lab scheme unchecks the three boxes. Its text goes into the
// explanation box. An unknown type changes nothing.
void schemeChosen(SimulationState& state, Controls& controls, int servoType);
// The damping of damped least squares, within 0..MaxDampingLambda; not a number changes nothing.
void dampingEntered(SimulationState& state, double lambda);

// A pointer press (any button) on any of the seven boxes, before the click that toggles it:
// a servo box acts here (servoBoxPressed); an elbow box waits for its click.
void checkBoxPressed(SimulationState& state, Controls& controls, CheckBox box);

// A change of an elbow box's check state (by the user or by code). Acts only when the box is
// now checked: selects its configuration and unchecks the three other elbow boxes, whose own
// clicks then find them unchecked and do nothing.
void elbowBoxClicked(SimulationState& state, Controls& controls, CheckBox box);

void openGripperClicked(SimulationState& state);
void closeGripperClicked(SimulationState& state);

// The path button: flips clearEachCycle and captions the button with what the next click does.
void pathButtonClicked(SimulationState& state, Controls& controls);

// Pointer on the drawing surface, window units. A press (any button) picks the target and
// starts a drag, clearing the surface while the path is hidden; moves drag the target while
// held; any release ends the drag.
void surfacePressed(SimulationState& state, DrawingSurface& surface, float x, float y);
void surfaceMoved(SimulationState& state, float x, float y);
void surfaceReleased(SimulationState& state);

// The target by keyboard, window units: a move acts as a pointer press at the new point and
// its release, the point kept on the surface. Arrow keys move it TargetKeyStep (with Shift
// TargetKeyFineStep); Home puts it back at the start-up target.
inline constexpr float StartUpTargetX = 350;
inline constexpr float StartUpTargetY = 50;
inline constexpr float TargetKeyStep = 5;
inline constexpr float TargetKeyFineStep = 1;
void targetMovedByKey(SimulationState& state, DrawingSurface& surface, float dx, float dy);
void targetHomeKey(SimulationState& state, DrawingSurface& surface);

// Menu items "Run" and "Panic/Stop".
void runClicked(SimulationState& state);
void stopClicked(SimulationState& state);

// The lab's "Step": asks the next pass for one running cycle while stopped.
void stepClicked(SimulationState& state);

// The lab's gain multiplier, 0 to 20; other values are ignored.
void gainChanged(SimulationState& state, double gain);
inline constexpr double MaxGain = 20;
// The gain as the lab's controls set it: in steps of GainStep, clamped to 0..MaxGain.
void gainEntered(SimulationState& state, double gain);
inline constexpr double GainStep = 0.1;

// Closing the window: the run loop ends and no further cycle runs.
void windowClosing(SimulationState& state);

} // namespace servo
