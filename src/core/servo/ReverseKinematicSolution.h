#pragma once

namespace servo {

// What the reverse kinematic servo works out for one desired effector point: where the wrist
// joint must stand, whether the two arm links reach it, and the joint angles (radians) it
// commands before its gain. Arm units; both links are taken as `upperArmLength` long.
struct ReverseKinematicSolution {
    double wristPointX = 0;
    double wristPointY = 0; // 0 is replaced by a tiny positive value before the arctangent
    double reachRadius = 0; // distance of the wrist point from the shoulder
    bool reachable = false; // reachRadius within 2 x upperArmLength
    // Set only when reachable:
    double reachDirection = 0; // of the wrist point from straight up, left positive
    double reachRatio = 0;
    double elbowSpread = 0; // the isosceles triangle's angle at the shoulder
    double shoulderAngle = 0;
    double elbowAngle = 0;
    double wristAngle = 0;
};

// The inputs: the desired effector point, the commanded hand orientation, the elbow
// configuration (elbowPair, elbowChoice as in the state) and the figure's link lengths.
struct ReverseKinematicGoal {
    double desiredX;
    double desiredY;
    double handOrientation;
    int elbowPair;
    int elbowChoice;
    double upperArmLength;
    double handLength;
};

ReverseKinematicSolution solveReverseKinematic(const ReverseKinematicGoal& goal);

} // namespace servo
