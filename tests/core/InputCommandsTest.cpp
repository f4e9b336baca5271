#include "LessonWorld.h"

#include "core/lab/Lab.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/ScriptWords.h"

#include <gtest/gtest.h>

#include <algorithm>
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
// something from start-up; and what a recording notes of that line when it is not the line.
struct Sample {
    std::vector<std::string> lines;
    std::string noted = {};
};
const std::map<std::string, Sample> Samples{
    {"press", {{"press 330.5 40.25"}}},
    {"move", {{"press 330 40", "move 310.5 80"}}},
    {"release", {{"press 330 40", "release"}}},
    {"scroll", {{"scroll 9000"}}},
    {"servo", {{"servo 2"}}},
    {"scheme", {{"scheme damped"}}},
    {"lambda", {{"scheme damped", "lambda 9.5"}}},
    {"race", {{"race xy"}}},
    {"elbow", {{"elbow up"}}},
    {"open", {{"close", "open"}}},
    {"close", {{"close"}}},
    {"path", {{"path"}}},
    {"run", {{"stop", "run"}}},
    {"stop", {{"stop"}}},
    {"grid", {{"grid"}}},
    {"gain", {{"gain 2.5"}}},
    {"step", {{"stop", "step"}}},
    {"reset", {{"gain 3", "press 200 30", "reset"}}},
    {"target-key", {{"target-key -5 1"}, "press 345 51\nrelease"}},
    {"target-home", {{"press 200 30", "release", "target-home"}, "press 350 50\nrelease"}},
    {"box-press", {{"box-press 2", "box-click 2"}, "servo 2"}},
    {"box-click", {{"box-click 5"}, "elbow up"}},
    {"enter-gain", {{"enter-gain 2.3456"}, "gain 2.3000000000000003"}},
    {"enter-lambda", {{"scheme damped", "enter-lambda 99"}, "lambda 50"}},
    {"dynamics", {{"dynamics on"}}},
    {"motor", {{"motor pid"}}},
    {"tune", {{"tune 12.5 0.9"}}},
    {"model-error", {{"model-error -20"}}},
    {"model-object", {{"model-object ignored"}}},
    {"own-law",
     {{"scheme own", "own-law function%20law(s)%0A%20%20return%200,%200.01,%200%0Aend"}}},
};

class EveryInputRow : public ::testing::TestWithParam<std::string> {};

// Each row parses, applies through the lesson's one entry point, is noted while recording,
// and its recording replays to the same state; while a replay plays it is refused.
TEST_P(EveryInputRow, RoundTripsThroughARecording) {
    const Sample& sample = Samples.at(GetParam());
    const std::vector<std::string>& lines = sample.lines;
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
    const std::string noted = sample.noted.empty() ? lines.back() : sample.noted;
    EXPECT_NE(script.find("\n" + noted + "\n"), std::string::npos) << script;

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
                         [](const auto& row) {
                             std::string name = row.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

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

TEST(InputCommands, ThePicturesKeysMoveTheTargetAndLeaveOtherKeysAlone) {
    const std::pair<std::pair<const char*, bool>, const char*> keys[] = {
        {{"Left", false}, "target-key -5 0"},
        {{"Right", true}, "target-key 1 0"},
        {{"Up", false}, "target-key 0 -5"},
        {{"Down", true}, "target-key 0 1"},
        {{"Home", true}, "target-home"},
        {{"Tab", false}, ""},
        {{"Escape", false}, ""},
    };
    for (const auto& [key, line] : keys) {
        EXPECT_EQ(pictureKeyLine(key.first, key.second), line) << key.first;
    }
}

} // namespace
} // namespace servo::testing
