#include "ResolvedRateRuns.h"
#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/lab/Lab.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace servo::testing {
namespace {

TEST(ArmJacobian, AgreesWithFiniteDifferencesOfTheTask) {
    SimulationState state = straightUpArm();
    const double h = 1e-6;
    for (const Vector3& pose : {Vector3{0, 0, 0}, Vector3{0.4, -1.1, 0.7}, Vector3{-2, 2.5, -0.3},
                                Vector3{1.5, 0.01, 3}}) {
        state.shoulderAngle = pose[0];
        state.elbowAngle = pose[1];
        state.wristAngle = pose[2];
        const Matrix3 j = taskJacobian(state);
        for (std::size_t joint = 0; joint < 3; ++joint) {
            Vector3 plus = pose;
            Vector3 minus = pose;
            plus[joint] += h;
            minus[joint] -= h;
            const Vector3 a = taskOf(state, plus[0], plus[1], plus[2]);
            const Vector3 b = taskOf(state, minus[0], minus[1], minus[2]);
            for (std::size_t row = 0; row < 3; ++row) {
                EXPECT_NEAR(j[row][joint], (a[row] - b[row]) / (2 * h), 1e-5)
                    << "row " << row << " joint " << joint;
            }
        }
        const ArmPoint effector = effectorPosition(state);
        const Vector3 task = taskOf(state, pose[0], pose[1], pose[2]);
        EXPECT_NEAR(task[0], effector.x, 1e-12);
        EXPECT_NEAR(task[1], effector.y, 1e-12);
    }
}

// The manipulability the lab shows the Jacobian laws (their read-out, plot, cue and its w)
// vanishes exactly where their J is singular: folded as well as stretched, where the position
// rows alone still show a round ellipse. The other schemes keep the position rows' measure.
struct PoseCase {
    const char* name;
    Vector3 pose;
};

TEST(Manipulability, TheJacobianLawsSeeTheSingularityTheirLawMeets) {
    SimulationState state = straightUpArm();
    const double largestW = state.upperArmLength * state.forearmLength;
    const double largestDet = largestW * state.upperArmLength;
    for (const PoseCase& c :
         {PoseCase{"straight up", {0, 0, 0}}, PoseCase{"folded", {0.3, std::numbers::pi, 1}},
          PoseCase{"nearly folded", {-1, 3.13, -2}}, PoseCase{"bent", {0.29, -1.82, -1.61}},
          PoseCase{"nearly straight", {1, -0.01, 0.5}}}) {
        state.shoulderAngle = c.pose[0];
        state.elbowAngle = c.pose[1];
        state.wristAngle = c.pose[2];
        const Matrix3 j = taskJacobian(state);
        const bool singular = std::abs(determinant(j)) < SingularShare * largestDet;
        for (const int servoType :
             {ServoJacobianTranspose, ServoResolvedRate, ServoDampedLeastSquares}) {
            state.servoType = servoType;
            const Manipulability m = manipulabilityOf(state);
            EXPECT_NEAR(m.w, std::abs(determinant(j)) / state.upperArmLength, 1e-9) << c.name;
            EXPECT_EQ(m.w < SingularShare * largestW, singular) << c.name;
            EXPECT_NEAR(m.major * m.minor, m.w, 1e-9 * largestW) << c.name;
        }
        state.servoType = ServoReverseKinematic;
        EXPECT_EQ(manipulabilityOf(state).w, manipulability(j)) << c.name;
    }
    state.elbowAngle = std::numbers::pi; // folded: the position rows still move the hand freely
    state.servoType = ServoReverseKinematic;
    EXPECT_GT(manipulabilityOf(state).w, 100);
}

// A world whose arm has settled on the start-up target under reverse kinematics, then is
// handed to `servoType` with the target at arm point (x, y). Its lab holds the student's law
// (the start-up one, the Jacobian transpose written out) for the scheme "Your law".
struct Lesson {
    World w;
    Lab lab{w.headless.simulation};
    Lesson(int servoType, double x, double y) {
        w.cycles(80);
        schemeChosen(w.state, w.controls, servoType);
        w.state.targetX = ShoulderX + WindowUnitsPerArmUnitX * x;
        w.state.targetY = ShoulderY - y;
    }
    double distance() const {
        const ArmPoint p = effectorPosition(w.state);
        return std::hypot(w.state.desiredX - p.x, w.state.desiredY - p.y);
    }
};

constexpr std::array<std::array<double, 2>, 7> ReachableTargets{
    {{25, 20}, {-30, 30}, {40, -10}, {0, 50}, {-45, -5}, {20, 45}, {50, 20}}};

TEST(JacobianServos, EachLawSettlesOnEveryReachableTargetWithin400Steps) {
    for (const ServoScheme& scheme : labSchemes()) {
        for (const auto& [x, y] : ReachableTargets) {
            Lesson lesson(scheme.servoType, x, y);
            int steps = 0;
            for (; steps < 400 && !(steps > 0 && lesson.distance() < 0.5); ++steps) {
                lesson.w.cycle();
            }
            EXPECT_LT(lesson.distance(), 0.5) << scheme.name << " to " << x << ", " << y;
            EXPECT_EQ(lesson.w.state.singular, 0) << scheme.name;
        }
    }
}

TEST(JacobianServos, ResolvedRateKeepsTheEffectorOnTheStraightLine) {
    for (const auto& [x, y] : ReachableTargets) {
        Lesson lesson(ServoResolvedRate, x, y);
        lesson.w.cycle(); // takes the new target
        const ArmPoint start = effectorPosition(lesson.w.state);
        const double length = std::hypot(x - start.x, y - start.y);
        double worst = 0;
        for (int i = 0; i < 100; ++i) {
            lesson.w.cycle();
            const ArmPoint p = effectorPosition(lesson.w.state);
            const double across =
                std::abs((x - start.x) * (p.y - start.y) - (y - start.y) * (p.x - start.x)) /
                length;
            worst = std::max(worst, across);
        }
        EXPECT_LE(worst, 0.02 * length) << x << ", " << y;
    }
}

// After a jump of the target from a random pose, every resolved-rate step is a bounded joint
// motion that keeps the effector on its straight line to the target and never takes it further
// away; only the corrections' tolerance separates it from the line, near the singularity too.
struct RandomJumps {
    unsigned seed;
    int runs;
    int steps;
};

TEST(ResolvedRate, EveryStepAfterARandomJumpIsBoundedAndOnTheLine) {
    for (const RandomJumps jumps : {RandomJumps{1, 80, 25}, RandomJumps{2, 80, 25},
                                    RandomJumps{3, 80, 25}, RandomJumps{4, 20, 200}}) {
        const ResolvedRateFigures f = runResolvedRate(jumps.seed, jumps.runs, jumps.steps);
        std::printf("seed %u, %d runs of %d cycles: %d steps, %d singular; largest joint step "
                    "%.4f rad; off the line %.5f (near the singularity %.5f) arm units; "
                    "distance after a step over before it at most %.4f (%.4f)\n",
                    jumps.seed, jumps.runs, jumps.steps, f.steps, f.singularCycles,
                    f.largestJointStep, f.largestOffLine, f.largestOffLineNearSingular,
                    f.largestGrowth, f.largestGrowthNearSingular);
        EXPECT_GT(f.steps, jumps.runs * jumps.steps / 2) << jumps.seed;
        EXPECT_LE(f.largestJointStep, MaxJointStep) << jumps.seed;
        EXPECT_LT(f.largestOffLine, 0.01) << jumps.seed;
        EXPECT_LT(f.largestOffLineNearSingular, 0.05) << jumps.seed;
        EXPECT_EQ(f.stepsOffLineOverOneUnit, 0) << jumps.seed;
        EXPECT_LT(f.largestGrowth, 1) << jumps.seed;
        EXPECT_LT(f.largestGrowthNearSingular, 1.01) << jumps.seed;
    }
}

TEST(JacobianServos, DampingKeepsStepsSmallWhereResolvedRateFindsASingularity) {
    constexpr double PastTheStretchedArm[] = {75, 20}; // 8 arm units beyond its reach
    Lesson rate(ServoResolvedRate, PastTheStretchedArm[0], PastTheStretchedArm[1]);
    Lesson damped(ServoDampedLeastSquares, PastTheStretchedArm[0], PastTheStretchedArm[1]);
    bool singular = false;
    double largest = 0;
    for (int i = 0; i < 400; ++i) {
        rate.w.cycle();
        damped.w.cycle();
        singular = singular || rate.w.state.singular == 1;
        largest = std::max(largest, damped.w.state.largestJointStep);
        for (const double angle :
             {rate.w.state.shoulderAngle, rate.w.state.elbowAngle, rate.w.state.wristAngle}) {
            ASSERT_TRUE(std::isfinite(angle));
        }
    }
    EXPECT_TRUE(singular);
    EXPECT_LT(largest, 0.3);
    EXPECT_EQ(damped.w.state.singular, 0);
}

} // namespace
} // namespace servo::testing

namespace servo::testing {
namespace {

TEST(RaceArm, LeavesTheMainArmAndItsDrawingBitIdentical) {
    World plain;
    World raced;
    Lab plainLab(plain.headless.simulation);
    Lab racedLab(raced.headless.simulation);
    racedLab.race().setScheme(ServoJacobianTranspose);
    for (World* w : {&plain, &raced}) {
        servoBoxPressed(w->state, w->controls, CheckBox::Check2);
        w->controls.toggle(CheckBox::Check2);
    }
    for (int i = 0; i < 300; ++i) {
        if (i == 100) {
            for (World* w : {&plain, &raced}) {
                surfacePressed(w->state, w->surface, 330, 30);
                surfaceReleased(w->state);
            }
        }
        plain.cycle();
        raced.cycle();
        ASSERT_EQ(plain.surface.ops(), raced.surface.ops()) << "cycle " << i;
        ASSERT_EQ(plain.state.shoulderAngle, raced.state.shoulderAngle);
        ASSERT_EQ(plain.state.elbowAngle, raced.state.elbowAngle);
        ASSERT_EQ(plain.state.wristAngle, raced.state.wristAngle);
    }
    // The race itself ran: it started again at the new target and settled there.
    EXPECT_EQ(racedLab.race().cycles(), 200);
    EXPECT_LT(racedLab.race().distance(), 0.5);
    EXPECT_NE(racedLab.race().state().shoulderAngle, raced.state.shoulderAngle);
}

} // namespace
} // namespace servo::testing
