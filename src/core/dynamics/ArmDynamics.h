#pragma once

#include "core/dynamics/ArmParameters.h"
#include "core/servo/ArmJacobian.h"

namespace servo {

// The arm's equation of motion in the joint angles q (shoulder from straight up, elbow and
// wrist relative to the link before, radians, counterclockwise positive):
//     M(q) q'' + C(q, q') q' + g(q) = tau - b q'
// with the torques tau in N m, speeds in rad/s, accelerations in rad/s^2.
struct ArmTerms {
    Matrix3 mass;     // M(q), kg m^2
    Vector3 coriolis; // C(q, q') q': the centrifugal and Coriolis torques, N m
    Vector3 gravity;  // g(q): the torques gravity asks of the joints to be held, N m
};

// The terms at one state; `objectHeld` puts the object's mass at the effector.
ArmTerms armTerms(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                  bool objectHeld);

// The torques that give the accelerations `accelerations` at that state, friction aside:
// M q'' + C q' + g.
Vector3 inverseDynamics(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                        const Vector3& accelerations, bool objectHeld);

// The accelerations the torques give, joint friction included.
Vector3 forwardDynamics(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                        const Vector3& torques, bool objectHeld);

// Kinetic plus potential energy, J; potential zero with every mass at the shoulder's height.
double armEnergy(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                 bool objectHeld);

} // namespace servo
