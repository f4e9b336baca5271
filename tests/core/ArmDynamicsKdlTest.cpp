// The arm's equation of motion against Orocos KDL's, on random states: the mass matrix, the
// Coriolis and centrifugal torques and gravity (ChainDynParam) and the inverse dynamics
// (ChainIdSolver_RNE) of the same chain. A test only: the simulator never links KDL.

#include "core/dynamics/ArmDynamics.h"

#include <gtest/gtest.h>
#include <kdl/chain.hpp>
#include <kdl/chaindynparam.hpp>
#include <kdl/chainidsolver_recursive_newton_euler.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace servo::testing {
namespace {

// The arm as a KDL chain: each link turns about z at its joint and reaches along its own y
// axis (straight up at zero), its mass halfway, the object a point at the hand's end. KDL
// takes a segment's inertia in its tip's frame, at the next joint.
KDL::Chain chainOf(const ArmParameters& arm, bool objectHeld) {
    KDL::Chain chain;
    for (int i = 0; i < 3; ++i) {
        const LinkParameters& link = arm.links[i];
        KDL::RigidBodyInertia inertia(
            link.massKilograms, KDL::Vector(0, link.centreMetres - link.lengthMetres, 0),
            KDL::RotationalInertia(link.inertiaKgM2, 0, link.inertiaKgM2, 0, 0, 0));
        if (i == 2 && objectHeld) {
            inertia = inertia + KDL::RigidBodyInertia(arm.objectMassKilograms);
        }
        chain.addSegment(KDL::Segment(KDL::Joint(KDL::Joint::RotZ),
                                      KDL::Frame(KDL::Vector(0, link.lengthMetres, 0)), inertia));
    }
    return chain;
}

struct RandomState {
    Vector3 q;
    Vector3 speeds;
    Vector3 accelerations;
};

RandomState randomState(std::mt19937& random) {
    std::uniform_real_distribution<double> angle(-std::numbers::pi, std::numbers::pi);
    std::uniform_real_distribution<double> speed(-6, 6);
    std::uniform_real_distribution<double> acceleration(-40, 40);
    RandomState s{};
    for (int i = 0; i < 3; ++i) {
        s.q[i] = angle(random);
        s.speeds[i] = speed(random);
        s.accelerations[i] = acceleration(random);
    }
    return s;
}

KDL::JntArray jointArray(const Vector3& values) {
    KDL::JntArray array(3);
    for (unsigned i = 0; i < 3; ++i) {
        array(i) = values[i];
    }
    return array;
}

// Within 1e-9 of the largest magnitude among KDL's values of that quantity.
void expectClose(const std::vector<double>& ours, const std::vector<double>& theirs,
                 const char* what) {
    double scale = 0;
    for (const double value : theirs) {
        scale = std::max(scale, std::abs(value));
    }
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_NEAR(ours[i], theirs[i], 1e-9 * scale) << what << " [" << i << "]";
    }
}

class ArmDynamicsAgainstKdl : public ::testing::TestWithParam<bool> {};

TEST_P(ArmDynamicsAgainstKdl, AgreeOnRandomStates) {
    const bool held = GetParam();
    const KDL::Chain chain = chainOf(Arm, held);
    const KDL::Vector gravity(0, -Arm.gravityMetresPerS2, 0);
    KDL::ChainDynParam parameters(chain, gravity);
    KDL::ChainIdSolver_RNE inverse(chain, gravity);
    std::mt19937 random(28);
    for (int sample = 0; sample < 200; ++sample) {
        const RandomState s = randomState(random);
        const ArmTerms ours = armTerms(Arm, s.q, s.speeds, held);
        const KDL::JntArray q = jointArray(s.q);
        KDL::JntSpaceInertiaMatrix mass(3);
        KDL::JntArray coriolis(3);
        KDL::JntArray gravityTorques(3);
        KDL::JntArray torques(3);
        KDL::Wrenches external(chain.getNrOfSegments(), KDL::Wrench::Zero());
        ASSERT_EQ(parameters.JntToMass(q, mass), 0);
        ASSERT_EQ(parameters.JntToCoriolis(q, jointArray(s.speeds), coriolis), 0);
        ASSERT_EQ(parameters.JntToGravity(q, gravityTorques), 0);
        ASSERT_EQ(inverse.CartToJnt(q, jointArray(s.speeds), jointArray(s.accelerations), external,
                                    torques),
                  0);
        const Vector3 ourTorques = inverseDynamics(Arm, s.q, s.speeds, s.accelerations, held);
        std::vector<double> ourMass, theirMass;
        for (unsigned i = 0; i < 3; ++i) {
            for (unsigned j = 0; j < 3; ++j) {
                ourMass.push_back(ours.mass[i][j]);
                theirMass.push_back(mass(i, j));
            }
        }
        expectClose(ourMass, theirMass, "mass matrix");
        expectClose({ours.coriolis.begin(), ours.coriolis.end()},
                    {coriolis(0), coriolis(1), coriolis(2)}, "Coriolis");
        expectClose({ours.gravity.begin(), ours.gravity.end()},
                    {gravityTorques(0), gravityTorques(1), gravityTorques(2)}, "gravity");
        expectClose({ourTorques.begin(), ourTorques.end()}, {torques(0), torques(1), torques(2)},
                    "inverse dynamics");
    }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutTheObject, ArmDynamicsAgainstKdl, ::testing::Bool());

} // namespace
} // namespace servo::testing
