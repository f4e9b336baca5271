#include "core/simulation/StartUp.h"

#include "core/figure/RobotModel.h"
#include "core/simulation/Handlers.h"
#include "core/simulation/ServoSchemes.h"

namespace servo {

void startUpUntilNotice(SimulationState& state, ControlPanel& panel, StartUpWindow& window) {
    loadBuiltInModel(state);
    panel.setWristScrollPosition(0);
    state.targetX = StartUpTargetX;
    state.targetY = StartUpTargetY;
    state.clearEachCycle = 1;
    window.maximiseWindow();
    state.runState = RunRunning;
    panel.setExplanationText(explanationOf(*servoSchemeOf(ServoReverseKinematic)));
    window.showWindow();
    panel.setChecked(CheckBox::Check7, true);
}

void startUpAfterNotice(SimulationState& state, ControlPanel& panel, StartUpWindow& window) {
    state.firstCycle = 1;
    state.elbowPair = 1;
    state.elbowChoice = 1;
    panel.setChecked(CheckBox::Check1, true);
    state.servoType = ServoReverseKinematic;
    panel.setChecked(CheckBox::Check2, false);
    panel.setChecked(CheckBox::Check3, false);
    window.setDrawingScale();
}

void resetSimulation(SimulationState& state, ControlPanel& panel, DrawingSurface& surface) {
    NoWindow noWindow;
    state = SimulationState{};
    startUpUntilNotice(state, panel, noWindow);
    panel.setPathButtonCaption(ShowPathCaption);
    startUpAfterNotice(state, panel, noWindow);
    surface.clear();
}

} // namespace servo
