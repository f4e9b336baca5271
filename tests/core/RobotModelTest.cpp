#include "CaseNames.h"
#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/figure/RobotModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace servo::testing {
namespace {

constexpr double pi = std::numbers::pi;

TEST(RobotModel, BuiltInFigureHasItsJointsAndLengths) {
    const SimulationState s = straightUpArm();
    EXPECT_EQ(s.pointCount, 73);
    EXPECT_EQ(s.shoulderPivot, 9);
    EXPECT_EQ(s.elbowPivot, 21);
    EXPECT_EQ(s.wristPivot, 32);
    // The joint centres agree with the link lengths in the straight-up pose.
    EXPECT_EQ(s.pointY[s.elbowPivot] - s.pointY[s.shoulderPivot], s.upperArmLength);
    EXPECT_EQ(s.pointY[s.wristPivot] - s.pointY[s.elbowPivot], s.forearmLength);
    EXPECT_EQ(effectorPosition(s).y, 85);
    // Outlines are closed by repeating their first point.
    for (auto [first, last] : {std::pair{1, 8}, {10, 20}, {22, 31}, {33, 43}, {52, 62}}) {
        EXPECT_EQ(s.pointX[first], s.pointX[last]) << first;
        EXPECT_EQ(s.pointY[first], s.pointY[last]) << first;
        EXPECT_EQ(s.penUp[first], 1) << first;
    }
    // Both jaw sets share the palm.
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(s.pointX[33 + i], s.pointX[52 + i]);
        EXPECT_EQ(s.pointY[33 + i], s.pointY[52 + i]);
    }
    EXPECT_EQ(s.partNumber[73], PartLooseObject);
    EXPECT_EQ(s.pointX[73], -27);
    EXPECT_EQ(s.pointY[73], -29);
}

TEST(RobotModel, LoadingLeavesObjectHeldAndUnusedRowsAlone) {
    SimulationState s;
    s.objectHeld = 1;
    s.pointX[74] = 5;
    loadBuiltInModel(s);
    EXPECT_EQ(s.objectHeld, 1);
    EXPECT_EQ(s.pointX[74], 5);
}

TEST(RobotModel, QuarterTurnAboutTheShoulderSwingsTheArmLeft) {
    SimulationState s = straightUpArm();
    rotateDistalPoints(s, s.shoulderPivot, pi / 2);
    EXPECT_NEAR(s.pointX[21], -35, 1e-12);
    EXPECT_NEAR(s.pointY[21], 0, 1e-12);
    EXPECT_NEAR(s.pointX[32], -70, 1e-12);
    EXPECT_NEAR(s.pointY[32], 0, 1e-12);
}

TEST(RobotModel, PivotAndLowerPointsNeverMove) {
    const SimulationState before = straightUpArm();
    SimulationState s = before;
    rotateDistalPoints(s, s.elbowPivot, 0.7);
    for (int i = 1; i <= s.elbowPivot; ++i) {
        EXPECT_EQ(s.pointX[i], before.pointX[i]) << i;
        EXPECT_EQ(s.pointY[i], before.pointY[i]) << i;
    }
    EXPECT_NE(s.pointX[22], before.pointX[22]);
}

TEST(RobotModel, ZeroAngleOrPivotOutsideTheFigureChangesNothing) {
    for (int held : {0, 1}) {
        const SimulationState before = [&] {
            SimulationState s = straightUpArm();
            s.objectHeld = held;
            return s;
        }();
        for (auto [pivot, angle] :
             {std::pair{9, 0.0}, {9, -0.0}, {73, 1.0}, {80, 1.0}, {-1, 1.0}, {-40, 0.5}}) {
            SimulationState s = before;
            rotateDistalPoints(s, pivot, angle);
            EXPECT_EQ(s.pointX, before.pointX) << pivot << ' ' << angle;
            EXPECT_EQ(s.pointY, before.pointY) << pivot << ' ' << angle;
        }
    }
}

TEST(RobotModel, LooseObjectTurnsOnlyWhileHeld) {
    SimulationState s = straightUpArm();
    for (int i = 0; i < 50; ++i) {
        rotateDistalPoints(s, s.shoulderPivot, 0.3);
        rotateDistalPoints(s, s.wristPivot, -0.2);
    }
    EXPECT_EQ(s.pointX[73], -27);
    EXPECT_EQ(s.pointY[73], -29);

    s.objectHeld = 1;
    const double hx = s.pointX[72];
    const double hy = s.pointY[72];
    const double ox = s.pointX[73];
    const double oy = s.pointY[73];
    rotateDistalPoints(s, s.wristPivot, 0.5);
    // Turned like a hand point: its distance to a hand point is kept, and it moved.
    EXPECT_NEAR(std::hypot(s.pointX[73] - s.pointX[72], s.pointY[73] - s.pointY[72]),
                std::hypot(ox - hx, oy - hy), 1e-12);
    EXPECT_NE(s.pointX[73], ox);
}

TEST(RobotModel, RotationAndItsInverseGiveBackThePoints) {
    const SimulationState before = straightUpArm();
    SimulationState s = before;
    for (double angle : {0.1, -2.5, 3.0, 100.0}) {
        rotateDistalPoints(s, s.elbowPivot, angle);
        rotateDistalPoints(s, s.elbowPivot, -angle);
    }
    for (int i = 1; i <= s.pointCount; ++i) {
        EXPECT_NEAR(s.pointX[i], before.pointX[i], 1e-12) << i;
        EXPECT_NEAR(s.pointY[i], before.pointY[i], 1e-12) << i;
    }
}

// Turning the figure joint by joint puts the joint centres where forward kinematics does.
class JointCentresFollowForwardKinematics
    : public ::testing::TestWithParam<std::tuple<double, double, double>> {};

TEST_P(JointCentresFollowForwardKinematics, AfterWristElbowShoulderTurns) {
    const auto [a1, a2, a3] = GetParam();
    SimulationState s = straightUpArm();
    rotateDistalPoints(s, s.wristPivot, a3);
    rotateDistalPoints(s, s.elbowPivot, a2);
    rotateDistalPoints(s, s.shoulderPivot, a1);
    EXPECT_NEAR(s.pointX[21], -35 * std::sin(a1), 1e-12);
    EXPECT_NEAR(s.pointY[21], 35 * std::cos(a1), 1e-12);
    EXPECT_NEAR(s.pointX[32], -35 * std::sin(a1) - 35 * std::sin(a1 + a2), 1e-12);
    EXPECT_NEAR(s.pointY[32], 35 * std::cos(a1) + 35 * std::cos(a1 + a2), 1e-12);
    // The closed finger tips (row 45) stand 4 units beyond the effector along the hand,
    // whose direction is (-sin, cos) of the summed angles.
    s.shoulderAngle = a1;
    s.elbowAngle = a2;
    s.wristAngle = a3;
    const ArmPoint effector = effectorPosition(s);
    const double hand = a1 + a2 + a3;
    EXPECT_NEAR(s.pointX[45], effector.x - 4 * std::sin(hand), 1e-9);
    EXPECT_NEAR(s.pointY[45], effector.y + 4 * std::cos(hand), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Poses, JointCentresFollowForwardKinematics,
                         ::testing::Values(std::tuple{0.4, -1.3, 2.0}, std::tuple{-2.0, 0.7, -0.1},
                                           std::tuple{3.5, 3.0, -4.0}, std::tuple{0.0, 0.0, 1.0}),
                         [](const auto& testCase) {
                             const auto& angles = testCase.param;
                             return "s" + numberName(std::get<0>(angles)) + "_e" +
                                    numberName(std::get<1>(angles)) + "_w" +
                                    numberName(std::get<2>(angles));
                         });

} // namespace
} // namespace servo::testing
