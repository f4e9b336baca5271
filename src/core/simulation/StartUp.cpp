#include "core/simulation/StartUp.h"

#include "core/figure/RobotModel.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"

namespace servo {

void startUpUntilNotice(SimulationState& state, Controls& controls, StartUpWindow& window) {
    loadBuiltInModel(state);
    controls.setWristScrollPosition(0);
    state.targetX = StartUpTargetX;
    state.targetY = StartUpTargetY;
    state.clearEachCycle = 1;
    window.maximiseWindow();
    state.runState = RunRunning;
    controls.setExplanationText(explanationOf(*servoSchemeOf(ServoReverseKinematic)));
    window.showWindow();
    controls.setChecked(CheckBox::Check7, true);
}

void startUpAfterNotice(SimulationState& state, Controls& controls, StartUpWindow& window) {
    state.firstCycle = 1;
    state.elbowPair = 1;
    state.elbowChoice = 1;
    controls.setChecked(CheckBox::Check1, true);
    state.servoType = ServoReverseKinematic;
    controls.setChecked(CheckBox::Check2, false);
    controls.setChecked(CheckBox::Check3, false);
    window.setDrawingScale();
}

void resetSimulation(SimulationState& state, Controls& controls, DrawingSurface& surface) {
    NoWindow noWindow;
    state = SimulationState{};
    startUpUntilNotice(state, controls, noWindow);
    controls.setPathButtonCaption(ShowPathCaption);
    startUpAfterNotice(state, controls, noWindow);
    surface.clear();
}

} // namespace servo
