#include "core/dynamics/ArmDynamics.h"

#include <cmath>

namespace servo {

namespace {

// One mass of the arm: a link's, on that link `reach` metres from its joint, or the object's.
struct Body {
    double mass;    // kg
    double inertia; // about its centre, kg m^2
    int link;       // 0 upper arm, 1 forearm, 2 hand
    double reach;   // m
};

// How a body moves with the joints at one state.
struct BodyMotion {
    std::array<Vector3, 2> jacobian; // d(x, y)/dq, m/rad
    std::array<double, 2> bias;      // the acceleration the speeds alone give, m/s^2
    double height;                   // y, m
};

BodyMotion motionOf(const ArmParameters& arm, const Body& body, const Vector3& q,
                    const Vector3& speeds) {
    BodyMotion motion{};
    double angle = 0; // of the link from straight up
    double rate = 0;  // of that angle
    for (int k = 0; k <= body.link; ++k) {
        angle += q[k];
        rate += speeds[k];
        const double r = k < body.link ? arm.links[k].lengthMetres : body.reach;
        const double s = std::sin(angle);
        const double c = std::cos(angle);
        // The link's part of the position is r (-sin, cos) of its angle, which every joint up
        // to it turns.
        for (int j = 0; j <= k; ++j) {
            motion.jacobian[0][j] += -r * c;
            motion.jacobian[1][j] += -r * s;
        }
        motion.bias[0] += r * s * rate * rate;
        motion.bias[1] += -r * c * rate * rate;
        motion.height += r * c;
    }
    return motion;
}

std::array<Body, 4> bodiesOf(const ArmParameters& arm, bool objectHeld) {
    std::array<Body, 4> bodies{};
    for (int i = 0; i < 3; ++i) {
        const LinkParameters& link = arm.links[i];
        bodies[i] = {link.massKilograms, link.inertiaKgM2, i, link.centreMetres};
    }
    bodies[3] = {objectHeld ? arm.objectMassKilograms : 0, 0, 2, arm.links[2].lengthMetres};
    return bodies;
}

} // namespace

ArmTerms armTerms(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                  bool objectHeld) {
    ArmTerms terms{};
    for (const Body& body : bodiesOf(arm, objectHeld)) {
        const BodyMotion motion = motionOf(arm, body, q, speeds);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                const double turns = i <= body.link && j <= body.link ? 1 : 0;
                terms.mass[i][j] += body.mass * (motion.jacobian[0][i] * motion.jacobian[0][j] +
                                                 motion.jacobian[1][i] * motion.jacobian[1][j]) +
                                    body.inertia * turns;
            }
            terms.coriolis[i] += body.mass * (motion.jacobian[0][i] * motion.bias[0] +
                                              motion.jacobian[1][i] * motion.bias[1]);
            terms.gravity[i] += body.mass * arm.gravityMetresPerS2 * motion.jacobian[1][i];
        }
    }
    return terms;
}

Vector3 inverseDynamics(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                        const Vector3& accelerations, bool objectHeld) {
    const ArmTerms terms = armTerms(arm, q, speeds, objectHeld);
    const Vector3 inertial = product(terms.mass, accelerations);
    Vector3 torques{};
    for (int i = 0; i < 3; ++i) {
        torques[i] = inertial[i] + terms.coriolis[i] + terms.gravity[i];
    }
    return torques;
}

Vector3 forwardDynamics(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                        const Vector3& torques, bool objectHeld) {
    const ArmTerms terms = armTerms(arm, q, speeds, objectHeld);
    Vector3 net{};
    for (int i = 0; i < 3; ++i) {
        net[i] = torques[i] - terms.coriolis[i] - terms.gravity[i] -
                 arm.links[i].frictionNmsPerRad * speeds[i];
    }
    Vector3 accelerations{};
    solve(terms.mass, net, accelerations); // M is positive definite: always solvable
    return accelerations;
}

double armEnergy(const ArmParameters& arm, const Vector3& q, const Vector3& speeds,
                 bool objectHeld) {
    const ArmTerms terms = armTerms(arm, q, speeds, objectHeld);
    double energy = dot(speeds, product(terms.mass, speeds)) / 2;
    for (const Body& body : bodiesOf(arm, objectHeld)) {
        energy += body.mass * arm.gravityMetresPerS2 * motionOf(arm, body, q, speeds).height;
    }
    return energy;
}

} // namespace servo
