#pragma once

#include "core/state/DynamicsState.h"

#include <array>

namespace servo {

class StudentLaw; // core/dynamics/StudentLaw.h

// Run states of the run loop.
inline constexpr int RunEnd = 1;
inline constexpr int RunRunning = 2;
inline constexpr int RunStopped = 3;

// Servo types: each names one row of the scheme table (core/simulation/ServoSchemes.cpp).
// The schemes selected by the three servo boxes.
inline constexpr int ServoReverseKinematic = 1;
inline constexpr int ServoForwardXY = 2;
inline constexpr int ServoForwardRTheta = 3;
// The lab's Jacobian schemes, chosen in the lab panel rather than by a servo box.
inline constexpr int ServoJacobianTranspose = 4;
inline constexpr int ServoResolvedRate = 5;
inline constexpr int ServoDampedLeastSquares = 6;
// The student's own law, written in the lab (core/ownlaw).
inline constexpr int ServoOwnLaw = 7;

// The damping of damped least squares at start-up, arm units.
inline constexpr double DefaultDampingLambda = 5;

// Point numbers run from 1 to MaxPoints; index 0 of the point arrays is never used.
inline constexpr int MaxPoints = 100;

// The one record through which every part of the simulator talks: run control, target,
// joint state and robot figure. Handlers write it, the control cycle
// reads and computes. Fields that start "unset" are zero here, which is how they behave.
//
// Units: window coordinates are the drawing surface's user scale (x 120..450 left to right,
// y 0..130 top to bottom). Arm coordinates have the shoulder joint at the origin, x to the
// right, y upward. Angles are radians, counterclockwise positive.
struct SimulationState {
    // Run control (0/1 flags unless noted).
    int runState = 0;       // RunEnd, RunRunning or RunStopped
    int firstCycle = 0;     // 1: the next running cycle puts the joints in the start pose
                            // (startPoseDegrees) and draws once
    int servoType = 0;      // a servo type: ServoReverseKinematic ... (the scheme table)
    int elbowPair = 0;      // 0: Down/Up pair in force, 1: Right/Left pair
    int elbowChoice = 0;    // 0: Down or Right, 1: Up or Left
    int clearEachCycle = 0; // 1: clear the surface every running cycle (path hidden)
    int pointerHeld = 0;    // 1 while a button pressed on the surface is held
    int gripperClosed = 0;  // 0 open, 1 closed
    int objectHeld = 0;     // 1 while the gripper carries the loose object
    int gridOn = 0;         // 1: the grid is drawn at the end of every running cycle
    int stepPending = 0;    // 1: the next pass, if stopped, runs one running cycle (lab)

    // The lab's gain multiplier: every gain constant of the servo laws is multiplied by it
    // before use. 1 leaves the laws as they are.
    double gain = 1;

    // Target and commands.
    double targetX = 0; // window units; pointer input arrives in single precision
    double targetY = 0;
    double desiredX = 0; // arm units
    double desiredY = 0;
    double wristSetting = 0; // commanded absolute hand orientation, radians from straight up

    // Joint state, radians. The shoulder is measured from straight up, the elbow and wrist
    // relative to the link before them.
    double shoulderAngle = 0;
    double elbowAngle = 0;
    double wristAngle = 0;
    // The pose the first cycle puts the arm in: shoulder, elbow and wrist, degrees. Straight
    // up (all zero) at start-up; an experiment may state another.
    std::array<double, 3> startPoseDegrees{};
    double previousShoulderAngle = 0; // the angles at the last redraw of the figure
    double previousElbowAngle = 0;
    double previousWristAngle = 0;

    // Redraw step: movement since the last redraw and the inputs of rotateDistalPoints.
    double shoulderDelta = 0;
    double elbowDelta = 0;
    double wristDelta = 0;
    double rotationAngle = 0;
    int rotationPivot = 0;

    // Working values of the servo laws (arm units or radians).
    double effectorX = 0;
    double effectorY = 0;
    double handOrientation = 0;
    double wristPointX = 0;
    double wristPointY = 0;
    double reachRadius = 0;
    double reachDirection = 0;
    double reachRatio = 0;
    double elbowSpread = 0;
    int delayCounter = 0;
    double xError = 0;
    double yError = 0;
    double desiredRadius = 0;
    double radiusError = 0;
    double currentElevation = 0;
    double desiredElevation = 0;
    double elevationError = 0;
    // The Jacobian schemes': effector to desired point (arm units), the manipulability (arm
    // units squared), the largest joint step of the last cycle (radians), 1 where resolved rate
    // found the Jacobian singular and made no step, and the damping of damped least squares
    // (arm units, a lab setting).
    double distanceError = 0;
    double manipulabilityValue = 0;
    double largestJointStep = 0;
    int singular = 0;
    double dampingLambda = DefaultDampingLambda;

    // The dynamics mode (off at start-up) and, while a running cycle's servo step is under
    // way with it on, what turns the angles the law set into the joints' reference and moves
    // the joints by the motors instead (set and cleared by the control cycle).
    DynamicsState dynamics;
    JointDrive jointDrive = nullptr;
    // The law the student wrote, which the scheme "Your law" and the motor law "Your torque
    // law" call; owned by the lab, none without one.
    StudentLaw* studentLaw = nullptr;

    // Draw pass: the effector point worked out from the joint angles, for the pick-up test.
    double graspX = 0;
    double graspY = 0;

    // Robot figure, arm coordinates. Points are numbered 1..pointCount.
    int pointCount = 0;
    int shoulderPivot = 0;
    int elbowPivot = 0;
    int wristPivot = 0;
    double upperArmLength = 0;
    double forearmLength = 0;
    double handLength = 0;
    std::array<double, MaxPoints + 1> pointX{};
    std::array<double, MaxPoints + 1> pointY{};
    std::array<int, MaxPoints + 1> penUp{};      // 1: the point starts a new stroke
    std::array<int, MaxPoints + 1> partNumber{}; // see the Part* constants in RobotModel.h
};

} // namespace servo
