#include "core/servo/ReverseKinematicSolution.h"

#include "core/state/Geometry.h"

#include <cmath>

namespace servo {

namespace {

constexpr double AlmostOne = 1.00001; // keeps the square root positive at full stretch
constexpr double WristPointYForZero = 0.0001;

} // namespace

ReverseKinematicSolution solveReverseKinematic(const ReverseKinematicGoal& goal) {
    ReverseKinematicSolution s;
    // The wrist joint stands one hand length back from the effector along the hand.
    s.wristPointY = goal.desiredY - goal.handLength * std::cos(goal.handOrientation);
    s.wristPointX = goal.desiredX + goal.handLength * std::sin(goal.handOrientation);
    s.reachRadius = std::sqrt(s.wristPointX * s.wristPointX + s.wristPointY * s.wristPointY);
    s.reachable = !(s.reachRadius > 2 * goal.upperArmLength);
    if (!s.reachable) {
        return s;
    }

    if (s.wristPointY == 0) {
        s.wristPointY = WristPointYForZero;
    }
    // Direction of the wrist point seen from the shoulder, from straight up, left positive.
    s.reachDirection = std::atan(-s.wristPointX / s.wristPointY);
    if (s.wristPointY < 0) {
        if (s.wristPointX < 0) {
            s.reachDirection = s.reachDirection + HalfTurn;
        } else {
            s.reachDirection = s.reachDirection - HalfTurn;
        }
    }

    // The shoulder-elbow-wrist triangle is isosceles; elbowSpread is its angle at the
    // shoulder (an arccosine, with the rounded QuarterTurn).
    s.reachRatio = 0.5 * s.reachRadius / goal.upperArmLength;
    s.elbowSpread =
        QuarterTurn - std::atan(s.reachRatio / std::sqrt(AlmostOne - s.reachRatio * s.reachRatio));

    bool leftPose = false;
    if (goal.elbowPair == 0) {
        leftPose = (goal.elbowChoice == 0 && goal.desiredX < 0) ||
                   (goal.elbowChoice == 1 && goal.desiredX > 0);
    }
    if (goal.elbowPair == 1 && goal.elbowChoice == 1) {
        leftPose = true;
    }
    if (leftPose) {
        s.shoulderAngle = s.reachDirection + s.elbowSpread;
        s.elbowAngle = -2 * s.elbowSpread;
    } else {
        s.shoulderAngle = s.reachDirection - s.elbowSpread;
        s.elbowAngle = 2 * s.elbowSpread;
    }
    s.wristAngle = goal.handOrientation - s.shoulderAngle - s.elbowAngle;
    return s;
}

} // namespace servo
