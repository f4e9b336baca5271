#include "LessonWorld.h"

#include "core/display/DisplayList.h"
#include "core/lab/Cues.h"
#include "core/lesson/PlotData.h"
#include "core/lesson/View.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace servo::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A lesson at gain 5 that has stepped to a new target for two seconds, in the dynamics mode
// with the PD law or without the mode.
struct SteppedLesson : LessonWorld {
    explicit SteppedLesson(bool dynamics) {
        for (const char* line : {"gain 5", "motor pd", "press 380 60", "release"}) {
            EXPECT_EQ(lesson.submit(line), "") << line;
        }
        if (dynamics) {
            EXPECT_EQ(lesson.submit("dynamics on"), "");
        }
        frames(120);
    }
};

// With the mode on, the panel's view, the explanation, the figures line and the plot show the
// motors; off, none of it appears.
TEST(DynamicsLab, TheViewTheFiguresAndThePlotShowTheMotorsOnlyInTheMode) {
    for (const bool on : {false, true}) {
        SteppedLesson w(on);
        const View view = viewOf(w.lesson, true);
        EXPECT_EQ(view.lab.dynamics.on, on);
        EXPECT_EQ(view.lab.dynamics.motorLaw, static_cast<int>(MotorLaw::PD));
        EXPECT_TRUE(contains(view.lab.dynamics.gains, "Kd")) << view.lab.dynamics.gains;
        EXPECT_EQ(contains(view.explanation, "Motor law: PD"), on);
        EXPECT_EQ(contains(view.lab.figures, "peak torque"), on) << view.lab.figures;
        const ErrorSample last = w.lab.history().samples().back();
        EXPECT_EQ(last.signalSet == DynamicsSignalSet, on);
        const std::string csv = plotDataCsv(w.lab.history());
        EXPECT_EQ(contains(csv, "largest torque (percent of its limit)"), on);
        if (on) { // PD sags under gravity: some error stays, some torque holds the arm
            EXPECT_GT(last.signalValues[1], 1);
            EXPECT_LE(last.signalValues[1], 100);
            EXPECT_TRUE(contains(view.lab.figures, "rise")) << view.lab.figures;
        }
    }
}

// The torque bars stand at the joints only in the mode, and a motor at its limit is drawn in
// the warning colour with a cross bar.
TEST(DynamicsLab, TorqueBarsMarkAMotorAtItsLimit) {
    SimulationState state = SteppedLesson(true).world.state;
    CueSettings cues;
    cues.torqueBars = true;
    const auto drawn = [&](const SimulationState& s) {
        DisplayList layer;
        drawCues(s, 0, cues, layer);
        return layer.ops();
    };
    const auto lines = [](const std::vector<DrawOp>& ops) {
        return std::count_if(ops.begin(), ops.end(),
                             [](const DrawOp& op) { return op.kind == DrawOp::Kind::Line; });
    };
    const auto warned = [](const std::vector<DrawOp>& ops) {
        return std::any_of(ops.begin(), ops.end(), [](const DrawOp& op) {
            return op.kind == DrawOp::Kind::ForeColour && op.colour == SaturatedTorqueColour;
        });
    };
    state.dynamics.saturated = {false, false, false};
    const std::vector<DrawOp> calm = drawn(state);
    EXPECT_EQ(lines(calm), 9);
    EXPECT_FALSE(warned(calm));
    state.dynamics.saturated = {false, true, false};
    const std::vector<DrawOp> limited = drawn(state);
    EXPECT_EQ(lines(limited), 10);
    EXPECT_TRUE(warned(limited));
    state.dynamics.on = false;
    EXPECT_EQ(lines(drawn(state)), 0);
}

// The race arm stays kinematic: against the same scheme driven by motors it is on the target
// after one step at gain 5, while the motors are still on their way.
TEST(DynamicsLab, TheRaceRunsTheKinematicArmAgainstTheDynamicOne) {
    LessonWorld w;
    for (const char* line : {"gain 5", "dynamics on", "race reverse", "press 380 60", "release"}) {
        EXPECT_EQ(w.lesson.submit(line), "") << line;
    }
    w.frames(3);
    EXPECT_LT(w.lab.race().distance(), 0.01);
    EXPECT_GT(w.lab.history().samples().back().distance, 1);
}

// The Lab menu's Dynamics and Motor Law items act as the input rows do, and a recording notes
// them as those rows.
TEST(DynamicsLab, TheMenuItemsSwitchTheModeAndAreRecorded) {
    LessonWorld w;
    w.lesson.startRecording();
    EXPECT_EQ(w.lesson.submit("item dynamics"), "");
    EXPECT_EQ(w.lesson.submit("item motor5"), "");
    EXPECT_TRUE(w.world.state.dynamics.on);
    EXPECT_EQ(w.world.state.dynamics.motorLaw, MotorLaw::ComputedTorque);
    const std::string recording = w.lesson.stopRecording();
    EXPECT_TRUE(contains(recording, "dynamics on\n")) << recording;
    EXPECT_TRUE(contains(recording, "motor ct\n")) << recording;
}

} // namespace
} // namespace servo::testing
