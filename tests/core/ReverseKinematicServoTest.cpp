#include "NullSurface.h"
#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/servo/ReverseKinematicServo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace servo::testing {
namespace {

// The straight-up arm with a desired point and hand orientation, ready for steps.
struct Arm {
    SimulationState state = straightUpArm();
    NullSurface surface;

    Arm(double x, double y, double wrist, int pair = 1, int choice = 1) {
        state.desiredX = x;
        state.desiredY = y;
        state.wristSetting = wrist;
        state.elbowPair = pair;
        state.elbowChoice = choice;
    }
    void step(int count = 1) {
        for (int i = 0; i < count; ++i) {
            reverseKinematicStep(state, surface);
        }
    }
};

const double startUpWrist = -180 / 57.3;

TEST(ReverseKinematicServo, StartUpStepSolvesAndDrivesAFifth) {
    Arm arm(25, 20, startUpWrist);
    arm.step();
    const SimulationState& s = arm.state;
    EXPECT_NEAR(s.wristPointX, 24.99653, 5e-6);
    EXPECT_NEAR(s.wristPointY, 35.00000, 5e-6);
    EXPECT_NEAR(s.reachRadius, 43.00961, 5e-6);
    EXPECT_NEAR(s.reachDirection, -0.620184, 5e-7);
    EXPECT_NEAR(s.reachRatio, 0.614423, 5e-7);
    EXPECT_NEAR(s.elbowSpread, 0.909109, 5e-7);
    EXPECT_NEAR(s.shoulderAngle, 0.057785, 5e-7);
    EXPECT_NEAR(s.elbowAngle, -0.363644, 5e-7);
    EXPECT_NEAR(s.wristAngle, -0.322414, 5e-7);
    // The redraw has taken the new angles over.
    EXPECT_EQ(s.previousShoulderAngle, s.shoulderAngle);
    EXPECT_EQ(s.previousElbowAngle, s.elbowAngle);
    EXPECT_EQ(s.previousWristAngle, s.wristAngle);
    EXPECT_NEAR(s.pointX[21], -2.0214, 5e-5);
    EXPECT_NEAR(s.pointY[21], 34.9416, 5e-5);
    EXPECT_NEAR(s.pointX[32], 8.5176, 5e-5);
    EXPECT_NEAR(s.pointY[32], 68.3172, 5e-5);
}

struct PoseCase {
    const char* name;
    int pair;
    int choice;
    double desiredX;
    bool left;
};

class ElbowPose : public ::testing::TestWithParam<PoseCase> {};

// The pose is read back from the undriven solution: five steps of 0.2 from rest would blur
// it, so the drive is undone from the first step's result.
TEST_P(ElbowPose, FollowsPairChoiceAndSideOfTheDesiredPoint) {
    const PoseCase c = GetParam();
    Arm arm(c.desiredX, 20, startUpWrist, c.pair, c.choice);
    arm.step();
    const double solvedElbow = arm.state.elbowAngle / 0.2;
    EXPECT_NEAR(solvedElbow, c.left ? -2 * arm.state.elbowSpread : 2 * arm.state.elbowSpread, 1e-9)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(Configurations, ElbowPose,
                         ::testing::Values(PoseCase{"DownRightSide", 0, 0, 25, false},
                                           PoseCase{"DownLeftSide", 0, 0, -25, true},
                                           PoseCase{"UpRightSide", 0, 1, 25, true},
                                           PoseCase{"UpLeftSide", 0, 1, -25, false},
                                           PoseCase{"RightAlways", 1, 0, -25, false},
                                           PoseCase{"LeftAlways", 1, 1, 25, true},
                                           PoseCase{"DownOnTheAxis", 0, 0, 0, false},
                                           PoseCase{"UpOnTheAxis", 0, 1, 0, false}),
                         [](const auto& testCase) { return testCase.param.name; });

TEST(ReverseKinematicServo, ElbowRightSolutionBeforeTheDrive) {
    Arm arm(25, 20, startUpWrist, 1, 0);
    arm.step();
    EXPECT_NEAR(arm.state.shoulderAngle / 0.2, -1.529293, 5e-6);
    EXPECT_NEAR(arm.state.elbowAngle / 0.2, 1.818219, 5e-6);
    EXPECT_NEAR(arm.state.wristAngle / 0.2, -3.430287, 5e-6);
}

TEST(ReverseKinematicServo, ConvergesSlightlyOffTheTargetBecauseOfRoundedConstants) {
    Arm arm(25, 20, startUpWrist);
    arm.step(10);
    const double tenStepsFraction = std::fabs(arm.state.shoulderAngle - 0.288926) / 0.288926;
    EXPECT_NEAR(tenStepsFraction, std::pow(0.8, 10), 1e-4); // 10.7 % of the way left
    arm.step(190);
    const ArmPoint effector = effectorPosition(arm.state);
    EXPECT_NEAR(effector.x, 25.0010, 5e-5);
    EXPECT_NEAR(effector.y, 20.0015, 5e-5);
}

TEST(ReverseKinematicServo, FullStretchIsInReach) {
    // Hand straight up (wrist setting 0): the wrist point is 15 below the desired point.
    Arm arm(0, 85, 0);
    arm.step();
    EXPECT_EQ(arm.state.reachRadius, 70);
    EXPECT_EQ(arm.state.reachRatio, 1);
    EXPECT_NEAR(arm.state.elbowSpread, 0.0031259, 5e-8);
}

TEST(ReverseKinematicServo, WristPointOnTheShoulderFoldsTheForearmBack) {
    Arm arm(0, 15, 0);
    arm.step();
    EXPECT_EQ(arm.state.wristPointY, 0.0001);
    EXPECT_EQ(arm.state.reachRadius, 0);
    EXPECT_NEAR(arm.state.reachDirection, 0, 1e-15);
    EXPECT_EQ(arm.state.elbowSpread, 1.57076);
    EXPECT_NEAR(arm.state.elbowAngle / 0.2, -3.14152, 1e-12);
}

TEST(ReverseKinematicServo, OutOfReachHoldsThePoseAndPauses) {
    Arm arm(25, 20, startUpWrist);
    arm.step(3);
    const SimulationState before = arm.state;
    arm.state.desiredX = 80; // wrist point (80, 35): beyond 70
    arm.step();
    EXPECT_EQ(arm.state.shoulderAngle, before.shoulderAngle);
    EXPECT_EQ(arm.state.elbowAngle, before.elbowAngle);
    EXPECT_EQ(arm.state.wristAngle, before.wristAngle);
    EXPECT_EQ(arm.state.pointX, before.pointX);
    EXPECT_EQ(arm.state.delayCounter, 151);
}

TEST(ReverseKinematicServo, ReachIsTestedOnTheWristPoint) {
    // (0, 80) with the hand straight down puts the wrist at 95: out of reach. With the hand
    // straight up the wrist is at 65: in reach.
    Arm down(0, 80, startUpWrist);
    down.step();
    EXPECT_EQ(down.state.shoulderAngle, 0);
    EXPECT_EQ(down.state.elbowAngle, 0);
    Arm up(0, 80, 0);
    up.step();
    EXPECT_NE(up.state.elbowAngle, 0);
}

TEST(ReverseKinematicServo, AngleSumMovesAFifthTowardTheWristSetting) {
    Arm arm(10, -30, 1.0, 0, 1);
    for (int i = 0; i < 6; ++i) {
        const SimulationState& s = arm.state;
        const double before = s.shoulderAngle + s.elbowAngle + s.wristAngle;
        arm.step();
        EXPECT_NEAR(s.shoulderAngle + s.elbowAngle + s.wristAngle, before + 0.2 * (1.0 - before),
                    1e-12);
    }
}

TEST(ReverseKinematicServo, ForearmLengthPlaysNoPart) {
    Arm equal(25, 20, startUpWrist);
    Arm longer(25, 20, startUpWrist);
    longer.state.forearmLength = 50;
    equal.step(5);
    longer.step(5);
    EXPECT_EQ(equal.state.shoulderAngle, longer.state.shoulderAngle);
    EXPECT_EQ(equal.state.elbowAngle, longer.state.elbowAngle);
    EXPECT_EQ(equal.state.wristAngle, longer.state.wristAngle);
}

TEST(ReverseKinematicServo, CrossingBelowTheShoulderJumpsTheDirection) {
    Arm rightOfVertical(0.5, -40, 0);
    rightOfVertical.step();
    Arm leftOfVertical(-0.5, -40, 0);
    leftOfVertical.step();
    EXPECT_LT(rightOfVertical.state.reachDirection, -3.1);
    EXPECT_GT(leftOfVertical.state.reachDirection, 3.1);
}

} // namespace
} // namespace servo::testing
