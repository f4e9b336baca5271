#pragma once

#include "core/state/DynamicsState.h"

#include <array>

namespace servo {

// One arm unit (the unit of the figure's link lengths) is one centimetre.
inline constexpr double MetresPerArmUnit = 0.01;

// One rigid link of the arm: from its joint to the next joint (or, for the hand, to the
// effector point), its mass centred halfway along.
struct LinkParameters {
    double lengthMetres;      // joint to joint, m
    double massKilograms;     // kg
    double centreMetres;      // joint to centre of mass, m
    double inertiaKgM2;       // about the centre of mass, normal to the plane, kg m^2
    double frictionNmsPerRad; // viscous friction of the joint that turns it, N m s/rad
    double torqueLimitNm;     // the largest torque the joint's motor gives, N m
};

// The arm as the dynamics mode moves it: three links in a vertical plane, gravity down the
// picture, and the loose object at the effector while the gripper holds it.
struct ArmParameters {
    std::array<LinkParameters, 3> links; // upper arm, forearm, hand with gripper
    double objectMassKilograms;          // the loose object, kg, a point at the effector
    double gravityMetresPerS2;           // m/s^2, toward -y (down the picture)
};

// A slender link's own inertia about its centre: m l^2 / 12, kg m^2.
constexpr double rodInertia(double massKilograms, double lengthMetres) {
    return massKilograms * lengthMetres * lengthMetres / 12;
}

// The lengths are the figure's (35, 35 and 15 arm units). The torque limits hold the arm
// stretched out level with the object (gravity needs 16.6, 5.6 and 0.66 N m) with a margin of
// about half as much again.
inline constexpr ArmParameters Arm{
    {{
        {0.35, 2.0, 0.175, rodInertia(2.0, 0.35), 0.10, 25.0}, // upper arm
        {0.35, 1.5, 0.175, rodInertia(1.5, 0.35), 0.05, 9.0},  // forearm
        {0.15, 0.5, 0.075, rodInertia(0.5, 0.15), 0.01, 1.0},  // hand with gripper
    }},
    0.2,
    9.81,
};

// The arm with every link's mass and inertia and the object's mass scaled by 1 + percent/100:
// the model a controller with that model error believes in. Lengths, friction and limits stay.
ArmParameters scaledMasses(const ArmParameters& arm, double percent);

// The arm without friction (for checks of the conservation of energy).
ArmParameters withoutFriction(const ArmParameters& arm);

} // namespace servo
