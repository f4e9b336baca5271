#include "TestWorld.h"

#include "core/simulation/ServoSchemes.h"

#include <gtest/gtest.h>

namespace servo::testing {
namespace {

std::string explanation(int servoType) {
    return explanationOf(*servoSchemeOf(servoType));
}

TEST(StartUp, LeavesTheDocumentedState) {
    World w;
    const SimulationState& s = w.state;
    EXPECT_EQ(s.runState, RunRunning);
    EXPECT_EQ(s.firstCycle, 1);
    EXPECT_EQ(s.servoType, ServoReverseKinematic);
    EXPECT_EQ(s.elbowPair, 1);
    EXPECT_EQ(s.elbowChoice, 1);
    EXPECT_EQ(s.clearEachCycle, 1);
    EXPECT_EQ(s.targetX, 350);
    EXPECT_EQ(s.targetY, 50);
    EXPECT_EQ(s.gripperClosed, 0);
    EXPECT_EQ(s.pointerHeld, 0);
    EXPECT_EQ(s.gridOn, 0);
    EXPECT_EQ(w.controls.wristScrollPosition(), 0);
    EXPECT_TRUE(w.controls.isChecked(CheckBox::Check1));
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check2));
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check3));
    EXPECT_TRUE(w.controls.isChecked(CheckBox::Check7));
    EXPECT_EQ(w.controls.explanationText(), explanation(ServoReverseKinematic));
    EXPECT_EQ(s.pointCount, 73);
}

TEST(ServoBox, PressSelectsTheSchemeAndTheClickChecksTheBox) {
    World w;
    servoBoxPressed(w.state, w.controls, CheckBox::Check2);
    w.controls.toggle(CheckBox::Check2);
    EXPECT_EQ(w.state.servoType, ServoForwardXY);
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check1));
    EXPECT_TRUE(w.controls.isChecked(CheckBox::Check2));
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check3));
    EXPECT_EQ(w.controls.explanationText(), explanation(ServoForwardXY));
    EXPECT_TRUE(w.controls.elbowBoxesVisible());
    w.cycle();
    EXPECT_FALSE(w.controls.elbowBoxesVisible());

    servoBoxPressed(w.state, w.controls, CheckBox::Check1);
    w.controls.toggle(CheckBox::Check1);
    EXPECT_EQ(w.controls.explanationText(), explanation(ServoReverseKinematic));
}

TEST(ServoBox, PressingTheSchemeInForceOnlyRemovesItsCheckMark) {
    World w;
    servoBoxPressed(w.state, w.controls, CheckBox::Check1);
    w.controls.toggle(CheckBox::Check1);
    EXPECT_EQ(w.state.servoType, ServoReverseKinematic);
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check1));
    EXPECT_EQ(w.controls.explanationText(), explanation(ServoReverseKinematic));
}

TEST(ServoBox, ChangingTheArmSchemeKeepsThePose) {
    World w;
    w.cycles(5);
    const double shoulder = w.state.shoulderAngle;
    servoBoxPressed(w.state, w.controls, CheckBox::Check3);
    EXPECT_EQ(w.state.shoulderAngle, shoulder);
    w.cycle();
    EXPECT_NEAR(w.state.shoulderAngle, shoulder, 0.5);
    EXPECT_EQ(w.state.firstCycle, 0);
}

TEST(ElbowBox, CheckingOneSelectsItsPairAndUnchecksTheRest) {
    World w;
    w.controls.toggle(CheckBox::Check5); // Elbow Up
    EXPECT_EQ(w.state.elbowPair, 0);
    EXPECT_EQ(w.state.elbowChoice, 1);
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check7));

    w.controls.toggle(CheckBox::Check6); // Elbow Right while Up is checked
    EXPECT_EQ(w.state.elbowPair, 1);
    EXPECT_EQ(w.state.elbowChoice, 0);
    EXPECT_FALSE(w.controls.isChecked(CheckBox::Check5));
    EXPECT_TRUE(w.controls.isChecked(CheckBox::Check6));

    w.controls.toggle(CheckBox::Check4); // Elbow Down
    EXPECT_EQ(w.state.elbowPair, 0);
    EXPECT_EQ(w.state.elbowChoice, 0);
}

TEST(ElbowBox, UncheckingTheCheckedBoxKeepsTheConfiguration) {
    World w;
    w.controls.toggle(CheckBox::Check6);
    w.controls.toggle(CheckBox::Check6);
    EXPECT_EQ(w.state.elbowPair, 1);
    EXPECT_EQ(w.state.elbowChoice, 0);
    for (CheckBox box : {CheckBox::Check4, CheckBox::Check5, CheckBox::Check6, CheckBox::Check7}) {
        EXPECT_FALSE(w.controls.isChecked(box));
    }
}

TEST(PathButton, TogglesClearingAndCaption) {
    World w;
    pathButtonClicked(w.state, w.controls);
    EXPECT_EQ(w.state.clearEachCycle, 0);
    EXPECT_EQ(w.controls.pathButtonCaption(), "clear");
    pathButtonClicked(w.state, w.controls);
    EXPECT_EQ(w.state.clearEachCycle, 1);
    EXPECT_EQ(w.controls.pathButtonCaption(), "show path");
    w.state.clearEachCycle = 7; // any other value counts as "not clearing"
    pathButtonClicked(w.state, w.controls);
    EXPECT_EQ(w.state.clearEachCycle, 1);
}

TEST(Pointer, PressClearsOnlyWhileThePathIsHidden) {
    World w;
    surfacePressed(w.state, w.surface, 200.5f, 30.25f);
    EXPECT_EQ(w.count(DrawOp::Kind::Clear), 1u);
    EXPECT_EQ(w.state.targetX, 200.5);
    EXPECT_EQ(w.state.targetY, 30.25);
    EXPECT_EQ(w.state.pointerHeld, 1);

    w.surface.forget();
    surfaceReleased(w.state);
    pathButtonClicked(w.state, w.controls);
    surfacePressed(w.state, w.surface, 150, 40);
    EXPECT_EQ(w.count(DrawOp::Kind::Clear), 0u);
    EXPECT_EQ(w.state.targetX, 150);
}

TEST(Pointer, MovesDragOnlyWhileHeld) {
    World w;
    surfaceMoved(w.state, 10, 10);
    EXPECT_EQ(w.state.targetX, 350);
    EXPECT_EQ(w.state.targetY, 50);
    surfacePressed(w.state, w.surface, 300, 60);
    surfaceMoved(w.state, -1e6f, 2e6f); // dragged far outside the window
    EXPECT_EQ(w.state.targetX, -1e6);
    EXPECT_EQ(w.state.targetY, 2e6);
    surfaceReleased(w.state);
    surfaceMoved(w.state, 300, 60);
    EXPECT_EQ(w.state.targetX, -1e6);
}

TEST(Pointer, TargetIsStoredInSinglePrecision) {
    World w;
    surfacePressed(w.state, w.surface, 0.1f, 0.1f);
    EXPECT_EQ(w.state.targetX, static_cast<double>(0.1f));
    EXPECT_NE(w.state.targetX, 0.1);
}

TEST(RunMenu, StopFreezesAndRunResumes) {
    World w;
    w.cycles(3);
    stopClicked(w.state);
    const SimulationState frozen = w.state;
    w.state.targetX = 200; // stored, not acted on
    w.cycles(5);
    EXPECT_EQ(w.state.shoulderAngle, frozen.shoulderAngle);
    EXPECT_EQ(w.state.desiredX, frozen.desiredX);
    EXPECT_EQ(w.state.pointX, frozen.pointX);
    runClicked(w.state);
    runClicked(w.state);
    EXPECT_EQ(w.state.runState, RunRunning);
    w.cycle();
    EXPECT_EQ(w.state.desiredX, -50);
    EXPECT_NE(w.state.shoulderAngle, frozen.shoulderAngle);
}

} // namespace
} // namespace servo::testing
