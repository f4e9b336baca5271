#include "LessonWorld.h"

#include "core/lab/Lab.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

// Everything an input can change: the pose and state bit for bit, the controls' record, the
// lab's settings and race as an experiment writes them.
std::string everything(const LessonWorld& w) {
    const SimulationState& s = w.world.state;
    std::string text = jointAndTargetBits(s);
    for (const int value : {s.servoType, s.elbowPair, s.elbowChoice, s.objectHeld, s.gripperClosed,
                            s.gridOn, s.clearEachCycle, s.pointerHeld, s.runState}) {
        text += std::to_string(value) + " ";
    }
    const Controls& c = w.world.controls;
    for (int box = 1; box <= CheckBoxCount; ++box) {
        text += c.isChecked(static_cast<CheckBox>(box)) ? "x" : "-";
    }
    text += " " + std::to_string(c.wristScrollPosition()) + " " +
            (c.elbowBoxesVisible() ? "elbows " : "") + c.pathButtonCaption() + "\n" +
            c.explanationText() + "\n";
    return text + writeExperiment(experimentOf(w.lab, false));
}

// For every row, lines that set the stage (noted too) and the row's own line, which must change
// something from start-up.
const std::map<std::string, std::vector<std::string>> Samples{
    {"press", {"press 330.5 40.25"}},
    {"move", {"press 330 40", "move 310.5 80"}},
    {"release", {"press 330 40", "release"}},
    {"scroll", {"scroll 9000"}},
    {"servo", {"servo 2"}},
    {"scheme", {"scheme damped"}},
    {"lambda", {"scheme damped", "lambda 9.5"}},
    {"race", {"race xy"}},
    {"elbow", {"elbow up"}},
    {"open", {"close", "open"}},
    {"close", {"close"}},
    {"path", {"path"}},
    {"run", {"stop", "run"}},
    {"stop", {"stop"}},
    {"grid", {"grid"}},
    {"gain", {"gain 2.5"}},
    {"step", {"stop", "step"}},
    {"reset", {"gain 3", "press 200 30", "reset"}},
};

class EveryInputRow : public ::testing::TestWithParam<std::string> {};

// Each row parses, applies through the lesson's one entry point, is noted while recording,
// and its recording replays to the same state; while a replay plays it is refused.
TEST_P(EveryInputRow, RoundTripsThroughARecording) {
    const std::vector<std::string>& lines = Samples.at(GetParam());
    LessonWorld recorded;
    recorded.frames(5);
    recorded.lesson.startRecording();
    const std::string before = everything(recorded);
    for (const std::string& line : lines) {
        EXPECT_EQ(runInputCommand(nullptr, splitWords(line)), "") << line; // parses
        EXPECT_EQ(recorded.lesson.submit(line), "") << line;
        recorded.frames(3);
    }
    EXPECT_NE(everything(recorded), before) << "the sample changes nothing";
    recorded.frames(20);
    recorded.lesson.submit("stop"); // as a replay ends
    const std::string script = recorded.lesson.stopRecording();
    EXPECT_NE(script.find("\n" + lines.back() + "\n"), std::string::npos) << script;

    LessonWorld replay;
    replay.frames(5);
    ASSERT_EQ(replay.lesson.play(script), "") << script;
    replay.frames(1);
    EXPECT_EQ(replay.lesson.submit(lines.back()), tr(InputWhilePlayingText));
    for (int frames = 0; replay.lesson.playing() && frames < 1000; ++frames) {
        replay.frames(1);
    }
    EXPECT_FALSE(replay.lesson.playing());
    EXPECT_EQ(everything(replay), everything(recorded)) << script;
}

std::vector<std::string> rowNames() {
    std::vector<std::string> names;
    for (const InputCommand& command : inputCommands()) {
        names.emplace_back(command.name);
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(Table, EveryInputRow, ::testing::ValuesIn(rowNames()),
                         [](const auto& row) { return row.param; });

TEST(InputCommands, EveryRowHasASampleAndBadLinesAreRefusedUnapplied) {
    for (const InputCommand& command : inputCommands()) {
        EXPECT_TRUE(Samples.contains(command.name)) << command.name;
    }
    LessonWorld w;
    const std::string before = everything(w);
    EXPECT_EQ(w.lesson.submit("press 1 two"), "not a number: 'two'");
    EXPECT_EQ(w.lesson.submit("gain 99"), "'99' is outside 0..20");
    EXPECT_EQ(w.lesson.submit("jump"), "unknown command 'jump'");
    EXPECT_EQ(everything(w), before);
}

} // namespace
} // namespace servo::testing
