#include "core/servo/ReverseKinematicServo.h"

#include "core/figure/ArmRenderer.h"
#include "core/state/Geometry.h"

#include <cmath>

namespace servo {

namespace {

// With the rounded HalfTurn and QuarterTurn, these put the converged effector a little off
// the target.
constexpr double AlmostOne = 1.00001; // keeps the square root positive at full stretch
constexpr double WristPointYForZero = 0.0001;
constexpr double DriveGain = 0.2;
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

void reverseKinematicStep(SimulationState& state, DrawingSurface& surface) {
    state.effectorX = state.desiredX;
    state.effectorY = state.desiredY;
    state.handOrientation = state.wristSetting;

    // The wrist joint stands one hand length back from the effector along the hand.
    state.wristPointY = state.effectorY - state.handLength * std::cos(state.handOrientation);
    state.wristPointX = state.effectorX + state.handLength * std::sin(state.handOrientation);
    state.reachRadius =
        std::sqrt(state.wristPointX * state.wristPointX + state.wristPointY * state.wristPointY);

    if (state.reachRadius > 2 * state.upperArmLength) {
        servoDelay(state);
        redrawArm(state, surface);
        return;
    }

    if (state.wristPointY == 0) {
        state.wristPointY = WristPointYForZero;
    }
    // Direction of the wrist point seen from the shoulder, from straight up, left positive.
    state.reachDirection = std::atan(-state.wristPointX / state.wristPointY);
    if (state.wristPointY < 0) {
        if (state.wristPointX < 0) {
            state.reachDirection = state.reachDirection + HalfTurn;
        } else {
            state.reachDirection = state.reachDirection - HalfTurn;
        }
    }

    // Both links are taken as upperArmLength long: the shoulder-elbow-wrist triangle is
    // isosceles, and elbowSpread is its angle at the shoulder (an arccosine).
    state.reachRatio = 0.5 * state.reachRadius / state.upperArmLength;
    state.elbowSpread =
        QuarterTurn -
        std::atan(state.reachRatio / std::sqrt(AlmostOne - state.reachRatio * state.reachRatio));

    bool leftPose = false;
    if (state.elbowPair == 0) {
        leftPose = (state.elbowChoice == 0 && state.desiredX < 0) ||
                   (state.elbowChoice == 1 && state.desiredX > 0);
    }
    if (state.elbowPair == 1 && state.elbowChoice == 1) {
        leftPose = true;
    }
    if (leftPose) {
        state.shoulderAngle = state.reachDirection + state.elbowSpread;
        state.elbowAngle = -2 * state.elbowSpread;
    } else {
        state.shoulderAngle = state.reachDirection - state.elbowSpread;
        state.elbowAngle = 2 * state.elbowSpread;
    }
    state.wristAngle = state.handOrientation - state.shoulderAngle - state.elbowAngle;

    // Each joint goes a fifth of the way from where it was last drawn.
    state.shoulderAngle = state.previousShoulderAngle +
                          DriveGain * (state.shoulderAngle - state.previousShoulderAngle);
    state.elbowAngle =
        state.previousElbowAngle + DriveGain * (state.elbowAngle - state.previousElbowAngle);
    state.wristAngle =
        state.previousWristAngle + DriveGain * (state.wristAngle - state.previousWristAngle);

    redrawArm(state, surface);
}

} // namespace servo
