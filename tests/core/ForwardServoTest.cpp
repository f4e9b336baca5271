#include "CaseNames.h"
#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/servo/ForwardRThetaServo.h"
#include "core/servo/ForwardXYServo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace servo::testing {
namespace {

using StepFunction = void (*)(SimulationState&, DrawingSurface&);

struct Arm {
    SimulationState state = straightUpArm();
    DisplayList surface;

    Arm(double x, double y, double wrist = 0) {
        state.desiredX = x;
        state.desiredY = y;
        state.wristSetting = wrist;
    }
    void step(StepFunction law) {
        surface.forget();
        law(state, surface);
    }
    double distanceToTarget() const {
        const ArmPoint e = effectorPosition(state);
        return std::hypot(e.x - state.desiredX, e.y - state.desiredY);
    }
    // Texts printed by the last step with the text position each started at.
    std::vector<std::pair<std::pair<float, float>, std::string>> readouts() const {
        std::vector<std::pair<std::pair<float, float>, std::string>> found;
        std::pair<float, float> at{};
        for (const DrawOp& op : surface.ops()) {
            if (op.kind == DrawOp::Kind::TextPosition) {
                at = {op.x1, op.y1};
            } else if (op.kind == DrawOp::Kind::Print) {
                found.push_back({at, op.text});
            }
        }
        return found;
    }
    const DrawOp& pathPoint() const {
        return *std::find_if(surface.ops().begin(), surface.ops().end(),
                             [](const DrawOp& op) { return op.kind == DrawOp::Kind::Point; });
    }
};

using Readouts = std::vector<std::pair<std::pair<float, float>, std::string>>;

TEST(XYServo, FirstStepFromRestTowardTheStartUpTarget) {
    Arm arm(25, 20, -180 / 57.3);
    arm.step(xyServoStep);
    const SimulationState& s = arm.state;
    EXPECT_EQ(s.effectorX, 0);
    EXPECT_EQ(s.effectorY, 85);
    EXPECT_EQ(s.xError, 25);
    EXPECT_EQ(s.yError, -65);
    EXPECT_NEAR(s.shoulderAngle, 0.4, 1e-15);
    EXPECT_NEAR(s.elbowAngle, -1.3, 1e-15);
    EXPECT_NEAR(s.wristAngle, s.wristSetting + 0.9, 1e-15);
    EXPECT_EQ(arm.readouts(),
              (Readouts{{{230, 110}, "X ERROR=25."}, {{310, 110}, "Y ERROR=-65."}}));
    EXPECT_EQ(arm.pathPoint().x1, 300);
    EXPECT_EQ(arm.pathPoint().y1, -15);
}

TEST(XYServo, OnTargetTheErrorsAreZeroAndOnlyTheWristMoves) {
    Arm arm(0, 85, 0.5);
    arm.step(xyServoStep);
    EXPECT_EQ(arm.state.shoulderAngle, 0);
    EXPECT_EQ(arm.state.elbowAngle, 0);
    EXPECT_EQ(arm.state.wristAngle, 0.5);
    EXPECT_EQ(arm.readouts(), (Readouts{{{230, 110}, "X ERROR=."}, {{310, 110}, "Y ERROR=."}}));
}

TEST(XYServo, ReachesAPointAboveTheShoulder) {
    Arm arm(0, 60);
    for (int i = 0; i < 13; ++i) {
        arm.step(xyServoStep);
    }
    EXPECT_LT(arm.distanceToTarget(), 0.01);
    for (int i = 0; i < 200; ++i) {
        arm.step(xyServoStep);
        ASSERT_LT(arm.distanceToTarget(), 0.01) << "lost the target at step " << 14 + i;
    }
}

struct HuntCase {
    double x;
    double y;
    double low; // the distance keeps swinging between about these two
    double high;
};

class XYServoHunts : public ::testing::TestWithParam<HuntCase> {};

TEST_P(XYServoHunts, NeverSettlesOnPointsAwayFromTheVertical) {
    const HuntCase c = GetParam();
    Arm arm(c.x, c.y);
    for (int i = 0; i < 2000; ++i) {
        arm.step(xyServoStep);
    }
    double low = 1e9;
    double high = 0;
    for (int i = 0; i < 2000; ++i) {
        arm.step(xyServoStep);
        low = std::min(low, arm.distanceToTarget());
        high = std::max(high, arm.distanceToTarget());
    }
    EXPECT_NEAR(low, c.low, 1.0);
    EXPECT_NEAR(high, c.high, 1.0);
}

INSTANTIATE_TEST_SUITE_P(FromRest, XYServoHunts,
                         ::testing::Values(HuntCase{60, 0, 41, 71}, HuntCase{30, -40, 49, 132}),
                         [](const auto& testCase) {
                             return pointName(testCase.param.x, testCase.param.y);
                         });

TEST(XYServo, HandKeepsTheCommandedOrientation) {
    Arm arm(-20, 30, 1.25);
    for (int i = 0; i < 30; ++i) {
        arm.step(xyServoStep);
        const SimulationState& s = arm.state;
        EXPECT_NEAR(s.shoulderAngle + s.elbowAngle + s.wristAngle, 1.25, 1e-12);
    }
}

TEST(RThetaServo, FirstStepFromRestTowardTheStartUpTarget) {
    Arm arm(25, 20);
    arm.step(rThetaServoStep);
    const SimulationState& s = arm.state;
    EXPECT_EQ(s.reachRadius, 85);
    EXPECT_NEAR(s.desiredRadius, 32.0156, 5e-5);
    EXPECT_NEAR(s.radiusError, -52.9844, 5e-5);
    EXPECT_EQ(s.effectorX, 0.001);
    EXPECT_NEAR(s.currentElevation, 1.5707846, 5e-8);
    EXPECT_NEAR(s.desiredElevation, 0.6747409, 5e-8);
    EXPECT_NEAR(s.elevationError, -0.8960436, 5e-8);
    EXPECT_NEAR(s.shoulderAngle, 0.3506351, 5e-8);
    EXPECT_NEAR(s.elbowAngle, -1.0596876, 5e-8);
    EXPECT_EQ(arm.readouts(), (Readouts{{{230, 110}, "RADIUS ERROR=-52.98"},
                                        {{280, 110}, "ELEVATION ERROR=-51.34"}}));
    EXPECT_EQ(arm.pathPoint().x1, 300.002f);
    EXPECT_EQ(arm.pathPoint().y1, -15);
}

struct ElevationCase {
    double x;
    double y;
    double elevation;
    double tolerance;
};

class DesiredElevation : public ::testing::TestWithParam<ElevationCase> {};

TEST_P(DesiredElevation, IsMeasuredFromTheRightCounterclockwise) {
    const ElevationCase c = GetParam();
    Arm arm(c.x, c.y);
    arm.step(rThetaServoStep);
    EXPECT_NEAR(arm.state.desiredElevation, c.elevation, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Points, DesiredElevation,
    ::testing::Values(ElevationCase{0, 40, std::numbers::pi / 2 - 0.001 / 40, 1e-9},
                      ElevationCase{0, -40, -std::numbers::pi / 2 + 0.001 / 40, 1e-9},
                      ElevationCase{0, 0, 0, 0}, ElevationCase{-20, 0, 3.14159, 0},
                      ElevationCase{-20, -20, 3.14159 + std::numbers::pi / 4, 1e-12}),
    [](const auto& testCase) { return pointName(testCase.param.x, testCase.param.y); });

TEST(RThetaServo, ElevationErrorIsNotWrapped) {
    // Effector below and right of the shoulder (elevation -1.4, arm stretched), desired
    // point below and left (elevation 4.5).
    Arm arm(-10, -10 * std::tan(4.5 - 3.14159));
    arm.state.shoulderAngle = -1.4 - std::numbers::pi / 2;
    arm.step(rThetaServoStep);
    EXPECT_NEAR(arm.state.currentElevation, -1.4, 1e-9);
    EXPECT_NEAR(arm.state.desiredElevation, 4.5, 1e-9);
    EXPECT_NEAR(arm.state.elevationError, 5.9, 1e-9);
    EXPECT_EQ(arm.readouts().at(1).second, "ELEVATION ERROR=338.07");
}

TEST(RThetaServo, OneRadianReadsAs57Point3) {
    // Desired point on the effector's radius, one radian further round.
    Arm arm(-85 * std::sin(1.0), 85 * std::cos(1.0));
    arm.step(rThetaServoStep);
    EXPECT_EQ(arm.readouts().at(1).second, "ELEVATION ERROR=57.3");
}

class RThetaServoReaches : public ::testing::TestWithParam<std::pair<double, double>> {};

TEST_P(RThetaServoReaches, WithinFortyStepsFromRest) {
    const auto [x, y] = GetParam();
    Arm arm(x, y);
    int steps = 0;
    while (arm.distanceToTarget() >= 0.01 && steps < 40) {
        arm.step(rThetaServoStep);
        ++steps;
    }
    EXPECT_LT(steps, 40);
    for (int i = 0; i < 200; ++i) {
        arm.step(rThetaServoStep);
        ASSERT_LT(arm.distanceToTarget(), 0.01) << "lost the target";
    }
}

INSTANTIATE_TEST_SUITE_P(FromRest, RThetaServoReaches,
                         ::testing::Values(std::pair{0.0, 60.0}, std::pair{60.0, 0.0},
                                           std::pair{30.0, -40.0}, std::pair{-30.0, -40.0}),
                         [](const auto& testCase) {
                             return pointName(testCase.param.first, testCase.param.second);
                         });

TEST(RThetaServo, HandKeepsTheCommandedOrientation) {
    Arm arm(40, -10, -0.75);
    for (int i = 0; i < 30; ++i) {
        arm.step(rThetaServoStep);
        const SimulationState& s = arm.state;
        EXPECT_NEAR(s.shoulderAngle + s.elbowAngle + s.wristAngle, -0.75, 1e-12);
    }
}

TEST(ForwardServos, OutOfReachKeepsDrivingWithoutPause) {
    for (StepFunction law : {&xyServoStep, &rThetaServoStep}) {
        Arm arm(200, 0);
        double previous = arm.state.shoulderAngle;
        for (int i = 0; i < 50; ++i) {
            arm.step(law);
            EXPECT_NE(arm.state.shoulderAngle, previous);
            previous = arm.state.shoulderAngle;
        }
        EXPECT_EQ(arm.state.delayCounter, 0);
    }
}

} // namespace
} // namespace servo::testing
