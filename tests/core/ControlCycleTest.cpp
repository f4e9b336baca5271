#include "TestWorld.h"

#include "core/simulation/ControlCycle.h"
#include "core/teaching/Grid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace servo::testing {
namespace {

TEST(ControlCycle, TargetBecomesTheDesiredPoint) {
    struct Case {
        double targetX, targetY, desiredX, desiredY;
    };
    for (Case c : {Case{350, 50, 25, 20}, Case{300, 70, 0, 0}, Case{120, 0, -90, 70},
                   Case{450, 130, 75, -60}}) {
        EXPECT_EQ(desiredXFromTarget(c.targetX), c.desiredX);
        EXPECT_EQ(desiredYFromTarget(c.targetY), c.desiredY);
    }
}

TEST(ControlCycle, ScrollPositionBecomesTheWristSetting) {
    EXPECT_DOUBLE_EQ(wristSettingFromScroll(0), -180 / 57.3);
    EXPECT_NEAR(wristSettingFromScroll(0), -3.141361, 1e-6);
    EXPECT_EQ(wristSettingFromScroll(16000), 0);
    EXPECT_NEAR(wristSettingFromScroll(32000), 3.141361, 1e-6);
    EXPECT_NEAR(wristSettingFromScroll(32767) * 57.3, 188.62875, 1e-9);
    EXPECT_NEAR(wristSettingFromScroll(32767), 3.291950, 1e-6);
}

TEST(ControlCycle, FirstCycleDrawsTheBuiltInPoseThenTheFirstStep) {
    World w;
    w.cycle();
    // clear, figure in the start-up pose, white, figure after the step
    const auto& ops = w.surface.ops();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, DrawOp::Kind::Clear);
    EXPECT_EQ(w.count(DrawOp::Kind::Circle), 8u);
    EXPECT_EQ(w.count(DrawOp::Kind::ForeColour), 1u);
    EXPECT_EQ(w.state.firstCycle, 0);
    EXPECT_NEAR(w.state.shoulderAngle, 0.057785, 5e-7);
    EXPECT_NEAR(w.state.pointX[32], 8.5176, 5e-5);
    EXPECT_NEAR(w.state.pointY[32], 68.3172, 5e-5);
    // The second circle set comes after the colour change: the stepped pose is drawn white.
    std::size_t circlesBeforeWhite = 0;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::Kind::ForeColour) {
            EXPECT_EQ(op.colour, White);
            break;
        }
        circlesBeforeWhite += op.kind == DrawOp::Kind::Circle;
    }
    EXPECT_EQ(circlesBeforeWhite, 4u);
    w.cycle();
    EXPECT_EQ(w.count(DrawOp::Kind::Circle), 4u);
}

TEST(ControlCycle, ReverseKinematicReachesTheStartUpTargetInAboutTwentyCycles) {
    World w;
    w.cycles(20);
    EXPECT_NEAR(w.state.shoulderAngle, 0.288926, 0.012 * 0.29);
    EXPECT_NEAR(w.state.elbowAngle, -1.818219, 0.012 * 1.82);
}

TEST(ControlCycle, StoppedCycleOnlyRedraws) {
    World w;
    w.cycles(2);
    stopClicked(w.state);
    w.state.gridOn = 1;
    pathButtonClicked(w.state, w.controls);
    pathButtonClicked(w.state, w.controls);
    w.cycle();
    EXPECT_EQ(w.count(DrawOp::Kind::Clear), 0u);
    EXPECT_EQ(w.count(DrawOp::Kind::Print), 0u);
    EXPECT_EQ(w.count(DrawOp::Kind::Line), 0u);
    EXPECT_EQ(w.count(DrawOp::Kind::ForeColour), 0u);
    EXPECT_EQ(w.count(DrawOp::Kind::Circle), 4u);
    EXPECT_EQ(w.yields, 0);
}

TEST(ControlCycle, StoppedGripperStillPicksUpAndDrawsTheJaws) {
    World w;
    // Park the effector on the loose object by hand, then stop and close the gripper.
    w.cycle();
    stopClicked(w.state);
    w.state.pointX[73] = w.state.graspX;
    w.state.pointY[73] = w.state.graspY;
    closeGripperClicked(w.state);
    w.cycle();
    EXPECT_EQ(w.state.objectHeld, 1);
}

TEST(ControlCycle, ElbowBoxesShowOnlyForReverseKinematicAndNotWhileStopped) {
    World w;
    servoBoxPressed(w.state, w.controls, CheckBox::Check3);
    stopClicked(w.state);
    w.cycle();
    EXPECT_TRUE(w.controls.elbowBoxesVisible());
    runClicked(w.state);
    w.cycle();
    EXPECT_FALSE(w.controls.elbowBoxesVisible());
    servoBoxPressed(w.state, w.controls, CheckBox::Check1);
    w.cycle();
    EXPECT_TRUE(w.controls.elbowBoxesVisible());
}

TEST(ControlCycle, PathDisplayKeepsEverything) {
    World w;
    pathButtonClicked(w.state, w.controls);
    w.cycle();
    EXPECT_EQ(w.count(DrawOp::Kind::Clear), 0u);
}

TEST(ControlCycle, ForwardSchemesPrintAndPlotEachCycle) {
    World w;
    servoBoxPressed(w.state, w.controls, CheckBox::Check2);
    w.cycles(3);
    EXPECT_EQ(w.count(DrawOp::Kind::Print), 2u);
    EXPECT_EQ(w.count(DrawOp::Kind::Point), 1u + 10u); // path point + the figure's pen-up rows
}

TEST(ControlCycle, OutOfReachTargetStillClearsRedrawsAndDrawsTheGrid) {
    World w;
    w.cycles(3);
    const double shoulder = w.state.shoulderAngle;
    w.state.targetX = 449;
    w.state.targetY = 129;
    gridMenuClicked(w.state, w.surface, w.yield);
    w.cycle();
    EXPECT_EQ(w.state.shoulderAngle, shoulder);
    EXPECT_EQ(w.count(DrawOp::Kind::Clear), 1u);
    EXPECT_EQ(w.count(DrawOp::Kind::Circle), 4u);
    EXPECT_EQ(w.count(DrawOp::Kind::Line), 30u);
}

TEST(ControlCycle, FigureStaysRigidOverALongHunt) {
    World w;
    const SimulationState start = w.state;
    servoBoxPressed(w.state, w.controls, CheckBox::Check2);
    w.state.targetX = 420; // (60, 0): the x,y scheme hunts here for ever
    w.state.targetY = 70;
    w.cycles(20000);
    auto distance = [](const SimulationState& s, int a, int b) {
        return std::hypot(s.pointX[a] - s.pointX[b], s.pointY[a] - s.pointY[b]);
    };
    for (auto [a, b] : {std::pair{21, 22}, {32, 45}, {32, 72}, {22, 31}, {9, 10}}) {
        EXPECT_NEAR(distance(w.state, a, b), distance(start, a, b), 1e-9) << a << '-' << b;
    }
}

} // namespace
} // namespace servo::testing
