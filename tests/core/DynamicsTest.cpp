#include "LessonWorld.h"

#include "core/dynamics/ArmDynamics.h"
#include "core/dynamics/Integrator.h"
#include "core/dynamics/JointDrive.h"
#include "core/dynamics/MotorLaws.h"
#include "core/lesson/Experiment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <numbers>

namespace servo::testing {
namespace {

constexpr Vector3 BentPose{0.6, -1.2, 0.4}; // rad: gravity pulls at every joint

// With no friction and no torque the arm swings as a triple pendulum for 10 simulated
// seconds; its energy, against what it has above hanging straight down at rest, stays within
// 0.1 %.
TEST(ArmMotion, KeepsItsEnergyWithoutFrictionOrTorque) {
    const ArmParameters arm = withoutFriction(Arm);
    ArmMotion motion{{1.0, -0.6, 0.9}, {}};
    const double start = armEnergy(arm, motion.angles, motion.speeds, true);
    const double hanging = armEnergy(arm, {std::numbers::pi, 0, 0}, {}, true);
    double drift = 0;
    double fastest = 0;
    for (int step = 0; step < 10 * 60 * InternalStepsPerLabStep; ++step) {
        motion = rungeKuttaStep(arm, motion, {}, true, InternalStepSeconds);
        const double energy = armEnergy(arm, motion.angles, motion.speeds, true);
        drift = std::max(drift, std::abs(energy - start) / (start - hanging));
        fastest = std::max(fastest, std::abs(motion.speeds[2]));
    }
    EXPECT_LT(drift, 1e-3);
    EXPECT_GT(fastest, 5); // it did swing, rad/s
}

// The dynamics mode's inputs set its settings, and refuse bad values leaving them as they were.
struct DynamicsInput {
    const char* line;
    std::string error; // empty: accepted
    bool on;
    MotorLaw law;
    double frequency;
    double damping;
    double modelError;
};

class DynamicsInputs : public ::testing::TestWithParam<DynamicsInput> {};

TEST_P(DynamicsInputs, SetTheModeOrSayWhy) {
    const DynamicsInput& input = GetParam();
    LessonWorld w;
    EXPECT_EQ(w.lesson.submit(input.line), input.error);
    const DynamicsState& d = w.world.state.dynamics;
    EXPECT_EQ(d.on, input.on);
    EXPECT_EQ(d.motorLaw, input.law);
    EXPECT_EQ(d.naturalFrequency, input.frequency);
    EXPECT_EQ(d.dampingRatio, input.damping);
    EXPECT_EQ(d.modelErrorPercent, input.modelError);
}

constexpr MotorLaw Pdg = DefaultMotorLaw;
constexpr double Wn = DefaultNaturalFrequency;
constexpr double Zeta = DefaultDampingRatio;

INSTANTIATE_TEST_SUITE_P(
    EveryRow, DynamicsInputs,
    ::testing::Values(
        DynamicsInput{"dynamics on", "", true, Pdg, Wn, Zeta, 0},
        DynamicsInput{"dynamics off", "", false, Pdg, Wn, Zeta, 0},
        DynamicsInput{"dynamics maybe", "expected on or off, not 'maybe'", false, Pdg, Wn, Zeta, 0},
        DynamicsInput{"motor ct", "", false, MotorLaw::ComputedTorque, Wn, Zeta, 0},
        DynamicsInput{"motor jtg", "", false, MotorLaw::JacobianTransposeGravity, Wn, Zeta, 0},
        DynamicsInput{"motor fast",
                      "unknown motor law 'fast' (none, p, pd, pdg, pid, ct, jtg, own)", false, Pdg,
                      Wn, Zeta, 0},
        DynamicsInput{"tune 12.5 0.25", "", false, Pdg, 12.5, 0.25, 0},
        DynamicsInput{"tune 200 1", "'200' is outside 0..100", false, Pdg, Wn, Zeta, 0},
        DynamicsInput{"model-error -20", "", false, Pdg, Wn, Zeta, -20},
        DynamicsInput{"model-error 101", "'101' is outside -100..100", false, Pdg, Wn, Zeta, 0}),
    [](const auto& row) {
        std::string name = row.param.line;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// A lesson world started from a pose with the dynamics mode's settings.
void startDynamic(LessonWorld& w, const std::string& keys) {
    const ExperimentReading reading = readExperiment("servo-experiment 1\n" + keys);
    ASSERT_TRUE(reading.experiment) << reading.error;
    w.lesson.apply(*reading.experiment);
}

// PD with gravity compensation and zero gains: the motors give exactly what gravity takes, and
// the arm stays where it was put, whatever the scheme asks.
TEST(DynamicsMode, GravityCompensationWithZeroGainsHoldsTheArm) {
    LessonWorld w;
    startDynamic(w, "pose=40,-70,20\ndynamics=1\nmotor=pdg\ntune=0,0.7\ngain=5\n");
    w.frames(1);
    const SimulationState& s = w.world.state;
    const Vector3 start{s.shoulderAngle, s.elbowAngle, s.wristAngle};
    w.frames(600);
    const Vector3 now{s.shoulderAngle, s.elbowAngle, s.wristAngle};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(now[i], start[i], 1e-6) << i;
    }
    EXPECT_NEAR(start[0], 40 * std::numbers::pi / 180, 1e-12);
}

// With dynamics on the scheme sets the reference: at gain 5 the reverse kinematic scheme's
// reference is its solution at once, and the joints follow it over time instead of jumping.
TEST(DynamicsMode, TheSchemeSetsTheReferenceAndTheMotorsMoveTheJoints) {
    LessonWorld kinematic;
    startDynamic(kinematic, "gain=5\n");
    LessonWorld dynamic;
    startDynamic(dynamic, "gain=5\ndynamics=1\n");
    kinematic.frames(2);
    dynamic.frames(2);
    const SimulationState& k = kinematic.world.state;
    const SimulationState& d = dynamic.world.state;
    EXPECT_DOUBLE_EQ(d.dynamics.reference[1], k.elbowAngle);
    EXPECT_GT(std::abs(d.elbowAngle - k.elbowAngle), 0.1);
    EXPECT_NE(d.dynamics.speeds[1], 0);
    dynamic.frames(120);
    EXPECT_NEAR(d.elbowAngle, k.elbowAngle, 1e-3);
}

// One lab step after another of a motor law toward a fixed joint reference, as the control
// cycle runs it (the redraw remembers the pose).
struct JointStep {
    SimulationState state = straightUpArm();
    double mostOvershoot = 0; // largest share of any joint's step beyond its reference
    bool everSaturated = false;

    JointStep(MotorLaw law, double frequency, double damping, const Vector3& from) {
        state.dynamics.on = true;
        state.dynamics.motorLaw = law;
        state.dynamics.naturalFrequency = frequency;
        state.dynamics.dampingRatio = damping;
        state.previousShoulderAngle = from[0];
        state.previousElbowAngle = from[1];
        state.previousWristAngle = from[2];
    }
    void run(const Vector3& from, const Vector3& to, double seconds) {
        for (int cycle = 0; cycle < std::lround(seconds / LabStepSeconds); ++cycle) {
            state.shoulderAngle = to[0];
            state.elbowAngle = to[1];
            state.wristAngle = to[2];
            driveJoints(state);
            const Vector3 q = angles();
            for (int i = 0; i < 3; ++i) {
                mostOvershoot = std::max(mostOvershoot, (q[i] - to[i]) / (to[i] - from[i]));
                everSaturated = everSaturated || state.dynamics.saturated[i];
            }
            state.previousShoulderAngle = q[0];
            state.previousElbowAngle = q[1];
            state.previousWristAngle = q[2];
        }
    }
    Vector3 angles() const { return {state.shoulderAngle, state.elbowAngle, state.wristAngle}; }
    double largestError(const Vector3& to) const {
        const Vector3 q = angles();
        double largest = 0;
        for (int i = 0; i < 3; ++i) {
            largest = std::max(largest, std::abs(to[i] - q[i]));
        }
        return largest;
    }
};

// Each law's step response from the bent pose to a small step away: its final error (rad) and
// overshoot (share of the step) within the bounds that make its character.
struct Character {
    const char* name;
    MotorLaw law;
    double seconds;
    double leastError; // the arm sags at least this far (rad) ...
    double mostError;  // ... and at most this far
    double leastOvershoot;
    double mostOvershoot;
};

class MotorLawCharacter : public ::testing::TestWithParam<Character> {};

TEST_P(MotorLawCharacter, ShowsInItsStepResponse) {
    const Character& c = GetParam();
    const Vector3 to{BentPose[0] + 0.05, BentPose[1] - 0.05, BentPose[2] + 0.05};
    JointStep arm(c.law, 10, 0.7, BentPose);
    arm.run(BentPose, to, c.seconds);
    const double error = arm.largestError(to);
    EXPECT_GE(error, c.leastError);
    EXPECT_LE(error, c.mostError);
    EXPECT_GE(arm.mostOvershoot, c.leastOvershoot);
    EXPECT_LE(arm.mostOvershoot, c.mostOvershoot);
    EXPECT_FALSE(arm.everSaturated);
}

// The designed overshoot of a second-order step with damping ratio 0.7.
const double DesignedOvershoot = std::exp(-std::numbers::pi * 0.7 / std::sqrt(1 - 0.7 * 0.7));

INSTANTIATE_TEST_SUITE_P(
    EveryLaw, MotorLawCharacter,
    ::testing::Values(Character{"PSags", MotorLaw::P, 6, 0.05, 10, 0, 100},
                      Character{"PDSags", MotorLaw::PD, 6, 0.05, 10, 0, 100},
                      Character{"PDGravityReaches", MotorLaw::PDGravity, 6, 0, 1e-6, 0, 100},
                      Character{"PIDReachesAfterOvershoot", MotorLaw::PID, 10, 0, 1e-6, 0.1, 100},
                      Character{"ComputedTorqueHasTheDesignedDamping", MotorLaw::ComputedTorque, 6,
                                0, 1e-6, DesignedOvershoot - 0.002, DesignedOvershoot + 0.002}),
    [](const auto& row) { return std::string(row.param.name); });

// A step larger than the motors can follow at this tuning drives them to their limits and
// marks it; the small one does not.
TEST(MotorLimits, SaturationIsMarked) {
    const Vector3 far{BentPose[0] + 1, BentPose[1] - 1, BentPose[2] + 1};
    JointStep arm(MotorLaw::PDGravity, 20, 0.7, BentPose);
    arm.run(BentPose, far, 1.0 / 60);
    EXPECT_TRUE(arm.state.dynamics.saturated[0]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(std::abs(arm.state.dynamics.torques[i]), Arm.links[i].torqueLimitNm) << i;
    }
    JointStep near(MotorLaw::PDGravity, 20, 0.7, BentPose);
    near.run(BentPose, {BentPose[0] + 0.01, BentPose[1], BentPose[2]}, 1.0 / 60);
    EXPECT_FALSE(near.everSaturated);
}

// Computed torque with the object held reaches its reference while its model knows the object,
// and sags short of it when the model leaves the object out.
TEST(ModelError, ComputedTorqueSagsWhenItsModelIgnoresTheHeldObject) {
    const Vector3 to{BentPose[0] + 0.05, BentPose[1] - 0.05, BentPose[2] + 0.05};
    for (const bool ignored : {false, true}) {
        JointStep arm(MotorLaw::ComputedTorque, 10, 0.7, BentPose);
        arm.state.objectHeld = 1;
        arm.state.dynamics.modelIgnoresObject = ignored;
        arm.run(BentPose, to, 6);
        if (ignored) {
            EXPECT_GT(arm.largestError(to), 1e-3);
        } else {
            EXPECT_LT(arm.largestError(to), 1e-6);
        }
    }
}

// A law gone astray (a reference that is no number) does not take the arm with it: the joints
// keep their last reference.
TEST(MotorLimits, AReferenceThatIsNoNumberKeepsTheLastOne) {
    JointStep arm(MotorLaw::PDGravity, 10, 0.7, BentPose);
    arm.run(BentPose, BentPose, 0.5);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    arm.run(BentPose, {nan, BentPose[1], std::numeric_limits<double>::infinity()}, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(arm.angles()[i], BentPose[i], 1e-9) << i;
        EXPECT_TRUE(std::isfinite(arm.state.dynamics.torques[i])) << i;
    }
}

} // namespace
} // namespace servo::testing
