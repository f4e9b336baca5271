#include "core/servo/ReverseKinematicServo.h"

#include "core/figure/ArmRenderer.h"
#include "core/servo/ReverseKinematicSolution.h"

namespace servo {

namespace {

constexpr double DriveGain = 0.2; // each step goes this part of the way
constexpr int DelayCount = 150;

} // namespace

void servoDelay(SimulationState& state) {
    for (int pass = 0; pass < 2; ++pass) {
        for (state.delayCounter = 1; state.delayCounter <= DelayCount; ++state.delayCounter) {
            // An empty count; the volatile access keeps it from being optimised away.
            static_cast<void>(*static_cast<volatile int*>(&state.delayCounter));
        }
    }
}

ReverseKinematicGoal reverseKinematicGoal(const SimulationState& state, int elbowPair,
                                          int elbowChoice) {
    return {state.desiredX, state.desiredY,       state.wristSetting, elbowPair,
            elbowChoice,    state.upperArmLength, state.handLength};
}

void reverseKinematicStep(SimulationState& state, DrawingSurface& surface) {
    state.effectorX = state.desiredX;
    state.effectorY = state.desiredY;
    state.handOrientation = state.wristSetting;
    const ReverseKinematicSolution solution =
        solveReverseKinematic(reverseKinematicGoal(state, state.elbowPair, state.elbowChoice));
    state.wristPointX = solution.wristPointX;
    state.wristPointY = solution.wristPointY;
    state.reachRadius = solution.reachRadius;
    if (!solution.reachable) {
        servoDelay(state);
        redrawArm(state, surface);
        return;
    }
    state.reachDirection = solution.reachDirection;
    state.reachRatio = solution.reachRatio;
    state.elbowSpread = solution.elbowSpread;

    // Each joint goes a fifth of the way (times the gain) from where it was last drawn.
    const double drive = DriveGain * state.gain;
    state.shoulderAngle = state.previousShoulderAngle +
                          drive * (solution.shoulderAngle - state.previousShoulderAngle);
    state.elbowAngle =
        state.previousElbowAngle + drive * (solution.elbowAngle - state.previousElbowAngle);
    state.wristAngle =
        state.previousWristAngle + drive * (solution.wristAngle - state.previousWristAngle);

    redrawArm(state, surface);
}

} // namespace servo
