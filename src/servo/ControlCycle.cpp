#include "servo/ControlCycle.h"

#include "robot/ArmRenderer.h"
#include "robot/RobotModel.h"
#include "servo/ForwardRThetaServo.h"
#include "servo/ForwardXYServo.h"
#include "servo/ReverseKinematicServo.h"
#include "teaching/Grid.h"

namespace servo {

double desiredXFromTarget(double targetX) {
    return (targetX - 300) / 2;
}

double desiredYFromTarget(double targetY) {
    return 70 - targetY;
}

double wristSettingFromScroll(int position) {
    const double degrees = static_cast<double>(position) / 32000 * 360 - 180;
    return degrees / 57.3;
}

void redrawArm(SimulationState& state, DrawingSurface& surface) {
    state.shoulderDelta = state.shoulderAngle - state.previousShoulderAngle;
    state.elbowDelta = state.elbowAngle - state.previousElbowAngle;
    state.wristDelta = state.wristAngle - state.previousWristAngle;
    state.previousShoulderAngle = state.shoulderAngle;
    state.previousElbowAngle = state.elbowAngle;
    state.previousWristAngle = state.wristAngle;

    // Outermost first: each turn carries the more distal points with it.
    state.rotationAngle = state.wristDelta;
    state.rotationPivot = state.wristPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);
    state.rotationAngle = state.elbowDelta;
    state.rotationPivot = state.elbowPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);
    state.rotationAngle = state.shoulderDelta;
    state.rotationPivot = state.shoulderPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);

    drawFigure(state, surface);
}

void controlCycle(SimulationState& state, DrawingSurface& surface, ControlPanel& panel) {
    if (state.runState == RunStopped) {
        redrawArm(state, surface);
        return;
    }
    if (state.clearEachCycle == 1) {
        surface.clear();
    }
    panel.setElbowBoxesVisible(state.servoType == ServoReverseKinematic);

    state.desiredX = desiredXFromTarget(state.targetX);
    state.desiredY = desiredYFromTarget(state.targetY);
    state.wristSetting = wristSettingFromScroll(panel.wristScrollPosition());

    if (state.firstCycle == 1) {
        state.previousShoulderAngle = 0;
        state.shoulderAngle = 0;
        state.previousElbowAngle = 0;
        state.elbowAngle = 0;
        state.wristAngle = 0;
        state.previousWristAngle = 0;
        state.firstCycle = 0;
        redrawArm(state, surface);
    }

    surface.setForeColour(White);
    switch (state.servoType) {
    case ServoReverseKinematic:
        reverseKinematicStep(state, surface);
        break;
    case ServoForwardXY:
        xyServoStep(state, surface);
        break;
    case ServoForwardRTheta:
        rThetaServoStep(state, surface);
        break;
    default:
        break;
    }

    Grod(state, surface, panel);
}

} // namespace servo
