#include "controls/ControlActions.h"

#include "robot/RobotModel.h"
#include "teaching/ExplanationTexts.h"

#include <array>

namespace servo {

namespace {

constexpr std::array ServoBoxes{CheckBox::Check1, CheckBox::Check2, CheckBox::Check3};
constexpr std::array ElbowBoxes{CheckBox::Check4, CheckBox::Check5, CheckBox::Check6,
                                CheckBox::Check7};

const std::string& explanationOf(const SimulationState& state, int servoType) {
    switch (servoType) {
    case ServoForwardXY:
        return state.forwardXYText;
    case ServoForwardRTheta:
        return state.forwardRThetaText;
    default:
        return state.reverseKinematicText;
    }
}

} // namespace

void servoBoxPressed(SimulationState& state, ControlPanel& panel, CheckBox box) {
    const int servoType = static_cast<int>(box);
    if (servoType < ServoReverseKinematic || servoType > ServoForwardRTheta) {
        return;
    }
    state.servoType = servoType;
    for (CheckBox other : ServoBoxes) {
        if (other != box) {
            panel.setChecked(other, false);
        }
    }
    panel.setExplanationText(explanationOf(state, servoType));
}

void elbowBoxClicked(SimulationState& state, ControlPanel& panel, CheckBox box) {
    if (!panel.isChecked(box)) {
        return;
    }
    switch (box) {
    case CheckBox::Check4: // Elbow Down
        state.elbowPair = 0;
        state.elbowChoice = 0;
        break;
    case CheckBox::Check5: // Elbow Up
        state.elbowPair = 0;
        state.elbowChoice = 1;
        break;
    case CheckBox::Check6: // Elbow Right
        state.elbowPair = 1;
        state.elbowChoice = 0;
        break;
    case CheckBox::Check7: // Elbow Left
        state.elbowPair = 1;
        state.elbowChoice = 1;
        break;
    default:
        return;
    }
    for (CheckBox other : ElbowBoxes) {
        if (other != box) {
            panel.setChecked(other, false);
        }
    }
}

void openGripperClicked(SimulationState& state) {
    state.gripperClosed = 0;
}

void closeGripperClicked(SimulationState& state) {
    state.gripperClosed = 1;
}

void pathButtonClicked(SimulationState& state, ControlPanel& panel) {
    state.clearEachCycle = state.clearEachCycle == 1 ? 0 : 1;
    panel.setPathButtonCaption(state.clearEachCycle == 1 ? ShowPathCaption : ClearPathCaption);
}

void surfacePressed(SimulationState& state, DrawingSurface& surface, float x, float y) {
    if (state.clearEachCycle == 1) {
        surface.clear();
    }
    state.targetY = y;
    state.pointerHeld = 1;
    state.targetX = x;
}

void surfaceMoved(SimulationState& state, float x, float y) {
    if (state.pointerHeld == 1) {
        state.targetY = y;
        state.targetX = x;
    }
}

void surfaceReleased(SimulationState& state) {
    state.pointerHeld = 0;
}

void runClicked(SimulationState& state) {
    state.runState = RunRunning;
}

void stopClicked(SimulationState& state) {
    state.runState = RunStopped;
}

void windowClosing(SimulationState& state) {
    state.runState = RunEnd;
}

void startUp(SimulationState& state, ControlPanel& panel, StartUpWindow& window) {
    buildExplanationTexts(state);
    loadBuiltInModel(state);
    panel.setWristScrollPosition(0);
    state.targetX = 350;
    state.targetY = 50;
    state.clearEachCycle = 1;
    window.maximiseWindow();
    state.runState = RunRunning;
    panel.setExplanationText(state.reverseKinematicText);
    window.showWindow();
    panel.setChecked(CheckBox::Check7, true);
    window.showStartUpNotice();
    state.firstCycle = 1;
    state.elbowPair = 1;
    state.elbowChoice = 1;
    panel.setChecked(CheckBox::Check1, true);
    state.servoType = ServoReverseKinematic;
    panel.setChecked(CheckBox::Check2, false);
    panel.setChecked(CheckBox::Check3, false);
    window.setDrawingScale();
}

} // namespace servo
