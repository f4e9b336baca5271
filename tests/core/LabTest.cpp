#include "TestWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/lab/ErrorPlot.h"
#include "core/lab/Ghosts.h"
#include "core/lab/Lab.h"
#include "core/lab/LabSample.h"
#include "core/servo/ReverseKinematicServo.h"
#include "core/simulation/ControlCycle.h"
#include "core/simulation/StartUp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace servo::testing {
namespace {

// Under the reverse kinematic law each joint's remaining error shrinks by 1 - 0.2 G a step:
// smooth approach below G = 5, alternating overshoot up to 10, divergence beyond.
class ReverseKinematicGain : public ::testing::TestWithParam<double> {};

TEST_P(ReverseKinematicGain, ScalesTheRemainingErrorByOneMinusAFifthOfTheGain) {
    const double gain = GetParam();
    SimulationState state = straightUpArm();
    state.desiredX = 25;
    state.desiredY = 20;
    state.wristSetting = -1;
    state.elbowPair = 1;
    state.elbowChoice = 1;
    state.gain = gain;
    const ReverseKinematicSolution goal = solveReverseKinematic(reverseKinematicGoal(state, 1, 1));
    DisplayList surface;
    double before = state.shoulderAngle - goal.shoulderAngle;
    for (int step = 0; step < 5; ++step) {
        reverseKinematicStep(state, surface);
        const double after = state.shoulderAngle - goal.shoulderAngle;
        EXPECT_NEAR(after, (1 - 0.2 * gain) * before, 1e-12 * std::fabs(before) + 1e-15);
        before = after;
    }
}

INSTANTIATE_TEST_SUITE_P(Gains, ReverseKinematicGain, ::testing::Values(0.5, 1, 3, 7.5, 12),
                         [](const auto& testCase) {
                             return "g" + std::to_string(static_cast<int>(testCase.param * 10));
                         });

TEST(Ghosts, EachReachableSolutionPutsTheEffectorOnTheDesiredPoint) {
    World w;
    for (auto [x, y, scroll] : {std::tuple{350.f, 50.f, 0},
                                {260.f, 100.f, 16000},
                                {330.f, 30.f, 8000},
                                {449.f, 129.f, 0}}) {
        surfacePressed(w.state, w.surface, x, y);
        const auto ghosts = ghostArms(w.state, scroll);
        const LabSample sample = sampleOf(w.state, scroll);
        for (const GhostArm& ghost : ghosts) {
            EXPECT_EQ(ghost.reachable, sample.reachable);
            if (ghost.reachable) {
                // The law's rounded constants leave it a little off.
                EXPECT_NEAR(ghost.joints.effector.x, sample.desired.x, 0.01) << x << ' ' << y;
                EXPECT_NEAR(ghost.joints.effector.y, sample.desired.y, 0.01) << x << ' ' << y;
            }
        }
        EXPECT_EQ(std::count_if(ghosts.begin(), ghosts.end(),
                                [](const GhostArm& g) { return g.inForce; }),
                  1);
    }
}

TEST(Ghosts, TheReachBoundaryParts) {
    World w;
    for (int scroll : {0, 8000, 16000, 30000}) {
        const std::vector<ArmPoint> boundary = reachBoundary(w.state, scroll);
        ASSERT_GT(boundary.size(), 10u);
        const ReverseKinematicGoal base{
            0, 0, wristSettingFromScroll(scroll), 1, 1, w.state.upperArmLength, w.state.handLength};
        for (const ArmPoint& point : boundary) {
            ReverseKinematicGoal goal = base;
            goal.desiredX = point.x;
            goal.desiredY = point.y;
            EXPECT_NEAR(solveReverseKinematic(goal).reachRadius, 2 * w.state.upperArmLength, 1e-9);
            // A little toward the shoulder is in reach, a little away from it is not.
            goal.desiredX = point.x * 1.001;
            goal.desiredY = point.y * 1.001;
            const bool outward = solveReverseKinematic(goal).reachRadius > 70;
            goal.desiredX = point.x * 0.999;
            goal.desiredY = point.y * 0.999;
            const bool inward = solveReverseKinematic(goal).reachable;
            EXPECT_TRUE(outward || inward);
        }
    }
}

TEST(ErrorHistory, SettlesUnderReverseKinematicsButNotWhileTheXYServoHunts) {
    World w;
    Lab lab(w.headless.simulation);
    for (int i = 0; i < 60; ++i) {
        lab.frame(1.0 / 60);
    }
    ASSERT_TRUE(lab.history().settledAt().has_value());
    EXPECT_GT(*lab.history().settledAt(), 5);
    EXPECT_LT(*lab.history().settledAt(), 40);
    EXPECT_EQ(lab.history().cyclesSinceChange(), 60);

    servoBoxPressed(w.state, w.controls, CheckBox::Check2);
    surfacePressed(w.state, w.surface, 360, 110); // desired (30, -40): it hunts there
    for (int i = 0; i < 300; ++i) {
        lab.frame(1.0 / 60);
    }
    EXPECT_FALSE(lab.history().settledAt().has_value());
    EXPECT_EQ(lab.history().cyclesSinceChange(), 300);
    EXPECT_GT(lab.history().peakSinceChange(), 10);
    EXPECT_EQ(lab.history().size(), 360u);
}

TEST(Lab, StepRunsOneRunningCycleWhileStoppedAndNothingWhileRunning) {
    World w;
    Lab lab(w.headless.simulation);
    surfacePressed(w.state, w.surface, 400, 40);
    stopClicked(w.state);
    lab.frame(1.0 / 60);
    const double stoppedAt = w.state.shoulderAngle;
    stepClicked(w.state);
    lab.frame(1.0 / 60);
    EXPECT_NE(w.state.shoulderAngle, stoppedAt);
    EXPECT_EQ(w.state.runState, RunStopped);
    EXPECT_EQ(lab.history().size(), 1u);
    const double stepped = w.state.shoulderAngle;
    lab.frame(1.0 / 60);
    EXPECT_EQ(w.state.shoulderAngle, stepped);

    runClicked(w.state);
    stepClicked(w.state);
    lab.frame(1.0 / 60);
    stopClicked(w.state);
    lab.frame(1.0 / 60);
    EXPECT_EQ(lab.history().size(), 2u); // the step was dropped while running
}

TEST(Lab, SlowMotionRunsTheCyclesASecondItSays) {
    World w;
    Lab lab(w.headless.simulation);
    lab.setSpeed(0); // 1 a second
    for (int i = 0; i < 180; ++i) {
        lab.frame(1.0 / 60);
    }
    EXPECT_EQ(lab.history().size(), 3u);
    lab.setSpeed(9); // 8 a frame
    lab.frame(1.0 / 60);
    EXPECT_EQ(lab.history().size(), 11u);
}

TEST(Lab, DivergenceIsHarmlessAndResetRecovers) {
    World fresh;
    World w;
    Lab lab(w.headless.simulation);
    gainChanged(w.state, 20);
    pathButtonClicked(w.state, w.controls);
    closeGripperClicked(w.state);
    w.controls.setWristScrollPosition(5000);
    surfacePressed(w.state, w.surface, 330, 40);
    for (int i = 0; i < 2000; ++i) {
        lab.frame(1.0 / 60);
    }
    lab.settings().cues = {true, true, true, true};
    DisplayList drawn;
    lab.drawPlot({800, 300}, drawn);
    lab.drawCues(drawn);
    for (const DrawOp& op : drawn.ops()) {
        EXPECT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
                    std::isfinite(op.y2))
            << op.describe();
    }

    lab.reset();
    EXPECT_EQ(w.state.gain, 1);
    EXPECT_EQ(lab.settings().speed, NormalSpeed);
    EXPECT_EQ(lab.history().size(), 0u);
    EXPECT_EQ(w.surface.ops().back().kind, DrawOp::Kind::Clear);
    EXPECT_EQ(w.controls.pathButtonCaption(), "show path");
    EXPECT_EQ(w.controls.wristScrollPosition(), 0);
    w.cycles(30);
    fresh.cycles(30);
    EXPECT_EQ(w.state.pointX, fresh.state.pointX);
    EXPECT_EQ(w.state.pointY, fresh.state.pointY);
    EXPECT_EQ(w.state.shoulderAngle, fresh.state.shoulderAngle);
    EXPECT_EQ(w.state.objectHeld, 0);
    EXPECT_EQ(w.state.clearEachCycle, 1);
}

} // namespace
} // namespace servo::testing
