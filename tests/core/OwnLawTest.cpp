#include "LessonWorld.h"

#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/ScriptWords.h"
#include "core/lesson/View.h"
#include "core/ownlaw/ExampleLaws.h"
#include "core/ownlaw/OwnLaw.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

namespace servo::testing {
namespace {

// A law that stops on its first call, and what it is told.
struct Escape {
    const char* name;
    const char* source;
    const char* message; // the error's message starts so
    int line;
};

class Escapes : public ::testing::TestWithParam<Escape> {};

TEST_P(Escapes, AreRefusedWithTheirMessageAndTheArmHolds) {
    const Escape& escape = GetParam();
    LessonWorld w;
    ASSERT_EQ(w.lesson.submit("scheme own"), "");
    ASSERT_EQ(w.lesson.submit(inputLine("own-law", lawArgument(escape.source))), "");
    w.frames(2); // the first cycle takes the start pose
    const auto start = std::chrono::steady_clock::now();
    const std::string before = jointAndTargetBits(w.world.state);
    w.frames(1);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const OwnLaw& law = w.lab.ownLaw();
    ASSERT_EQ(law.status(), LawStatus::Stopped);
    EXPECT_TRUE(law.error().message.starts_with(escape.message)) << law.error().message;
    EXPECT_EQ(law.error().line, escape.line);
    EXPECT_EQ(jointAndTargetBits(w.world.state), before); // the arm holds
    EXPECT_LT(seconds, 1.0);                              // stopped at once, not hanging
    w.frames(3);
    EXPECT_EQ(jointAndTargetBits(w.world.state), before);
    EXPECT_EQ(law.errorCount(), 1);

    // The program goes on: a good law takes over again.
    ASSERT_EQ(
        w.lesson.submit(inputLine("own-law", lawArgument("function law(s) return 0, 0.01, 0 end"))),
        "");
    w.frames(1);
    EXPECT_EQ(law.status(), LawStatus::Running);
    EXPECT_NE(jointAndTargetBits(w.world.state), before);
}

INSTANTIATE_TEST_SUITE_P(
    Sandbox, Escapes,
    ::testing::Values(
        Escape{"IoOpen", "function law(s)\n  io.open('/etc/passwd')\nend",
               "attempt to index a nil value (global 'io')", 2},
        Escape{"OsExecute", "function law(s)\n  os.execute('true')\nend",
               "attempt to index a nil value (global 'os')", 2},
        Escape{"Require", "function law(s)\n  require('io')\nend",
               "attempt to call a nil value (global 'require')", 2},
        Escape{"Load", "function law(s)\n  load('return 1')()\nend",
               "attempt to call a nil value (global 'load')", 2},
        Escape{"StringRepBomb", "function law(s)\n\n  return string.rep('x', 1e9)\nend",
               "your law needs too much memory", 3},
        Escape{"EmptyStringRepLoop", "function law(s)\n  return ('').rep('', 1e15)\nend",
               "your law needs too much memory", 2},
        Escape{"EndlessLoop", "function law(s)\n  while true do end\nend", "your law took too long",
               2},
        Escape{"DeepRecursion",
               "local function f(n) return 1 + f(n + 1) end\nfunction law(s) return f(1) end",
               "stack overflow", 1},
        Escape{"HugeTable",
               "function law(s)\n  local t = {}\n  for i = 1, 1e8 do t[i] = ('x'):rep(4096) .. i "
               "end\nend",
               "your law needs too much memory", 3},
        Escape{"CaughtErrorsCannotLoop",
               "function law(s)\n  while true do pcall(function() while true do end end) end\n"
               "end",
               "attempt to call a nil value (global 'pcall')", 2},
        Escape{"WrongReturn", "\nfunction law(s)\n  return 1, 2\nend",
               "your law must return three finite numbers", 2},
        Escape{"NotFinite", "function law(s)\n  return 0/0, 0, 0\nend",
               "your law must return three finite numbers", 1},
        Escape{"RuntimeErrorLine", "function law(s)\n  local x = 1\n  return s.nothing + 1\nend",
               "attempt to perform arithmetic on a nil value (field 'nothing')", 3}),
    [](const ::testing::TestParamInfo<Escape>& param) { return param.param.name; });

TEST(OwnLaw, ASyntaxErrorStopsTheLawAtApplyWithItsLine) {
    OwnLaw law;
    law.apply("function law(s)\n  return 1, 2, 3\nend\nend\n");
    EXPECT_EQ(law.status(), LawStatus::Stopped);
    EXPECT_EQ(law.error().line, 4);
    EXPECT_EQ(law.error().message, "<eof> expected near 'end'");
    law.apply("x = 1");
    EXPECT_EQ(law.error().message, "your law defines no function law(s)");
    law.apply("");
    EXPECT_EQ(law.status(), LawStatus::Empty);
}

// The example written out gives the built-in scheme's run.
TEST(OwnLaw, TheWrittenJacobianTransposeFollowsTheBuiltInSchemeTo1e12) {
    LessonWorld builtIn;
    LessonWorld own;
    ASSERT_EQ(own.lab.ownLaw().source(), englishExampleSource(exampleLaws()[0]));
    for (LessonWorld* w : {&builtIn, &own}) {
        ASSERT_EQ(w->lesson.submit(w == &own ? "scheme own" : "scheme transpose"), "");
        ASSERT_EQ(w->lesson.submit("gain 1.5"), "");
    }
    for (const auto& [x, y] : {std::pair{200.0f, 40.0f}, {400.0f, 90.0f}, {300.0f, 10.0f}}) {
        for (LessonWorld* w : {&builtIn, &own}) {
            ASSERT_EQ(w->lesson.submit(inputLine("press", x, y)), "");
            ASSERT_EQ(w->lesson.submit("release"), "");
            w->frames(60);
        }
        const SimulationState& a = builtIn.world.state;
        const SimulationState& b = own.world.state;
        EXPECT_NEAR(a.shoulderAngle, b.shoulderAngle, 1e-12);
        EXPECT_NEAR(a.elbowAngle, b.elbowAngle, 1e-12);
        EXPECT_NEAR(a.wristAngle, b.wristAngle, 1e-12);
    }
    EXPECT_EQ(own.lab.ownLaw().status(), LawStatus::Running);
}

TEST(OwnLaw, EveryExampleRunsWithAndWithoutDynamics) {
    for (const ExampleLaw& example : exampleLaws()) {
        LessonWorld w;
        ASSERT_EQ(w.lesson.submit("scheme own"), "");
        ASSERT_EQ(w.lesson.submit(inputLine("own-law", lawArgument(exampleSource(example)))), "");
        if (w.lab.ownLaw().hasTorque()) {
            ASSERT_EQ(w.lesson.submit("dynamics on"), "");
            ASSERT_EQ(w.lesson.submit("motor own"), "");
        }
        ASSERT_EQ(w.lesson.submit(inputLine("press", 380, 60)), "");
        ASSERT_EQ(w.lesson.submit("release"), "");
        w.frames(600);
        EXPECT_EQ(w.lab.ownLaw().status(), LawStatus::Running)
            << example.name << ": line " << w.lab.ownLaw().error().line << ": "
            << w.lab.ownLaw().error().message;
        EXPECT_LT(w.world.state.distanceError, 0.5) << example.name;
    }
}

TEST(OwnLaw, ALawTravelsThroughSaveOpenLinkAndReplayUnchanged) {
    const std::string source = "-- a law with 100% of \"everything\" & = + - ~\n"
                               "function law(s)\n\treturn 0.2 * s.G * pinv(s.J) * s.e\nend\n";
    LessonWorld recorded;
    ASSERT_EQ(recorded.lesson.submit("scheme own"), "");
    recorded.lesson.startRecording();
    ASSERT_EQ(recorded.lesson.submit(inputLine("own-law", lawArgument(source))), "");
    ASSERT_EQ(recorded.lesson.submit(inputLine("press", 380, 60)), "");
    recorded.frames(30);
    const Experiment saved = experimentOf(recorded.lab, false);
    EXPECT_EQ(saved.law, source);
    const ExperimentReading opened = readExperiment(writeExperiment(saved));
    ASSERT_TRUE(opened.experiment) << opened.error;
    EXPECT_EQ(opened.experiment->law, source);
    const ExperimentReading linked = readExperimentLink("#" + experimentLink(saved));
    ASSERT_TRUE(linked.experiment) << linked.error;
    EXPECT_EQ(linked.experiment->law, source);

    LessonWorld other;
    other.lesson.apply(*linked.experiment);
    EXPECT_EQ(other.lab.ownLaw().source(), source);
    EXPECT_EQ(other.lab.ownLaw().status(), LawStatus::Running);

    const std::string script = recorded.lesson.stopRecording();
    LessonWorld replay;
    ASSERT_EQ(replay.lesson.play(script), "") << script;
    int frames = 0;
    while (replay.lesson.playing() && frames++ < 10000) {
        replay.frames(1);
    }
    EXPECT_EQ(replay.lab.ownLaw().source(), source);
    EXPECT_EQ(jointAndTargetBits(replay.world.state), jointAndTargetBits(recorded.world.state));
}

TEST(OwnLaw, TheViewShowsTheLawAndAScreenReaderHearsWhyItStopped) {
    LessonWorld w;
    Viewer viewer;
    double now = 0;
    viewer.afterPass(w.lesson, true, now); // the announcer's first look
    ASSERT_EQ(w.lesson.submit("scheme own"), "");
    const std::string source = "function law(s)\n  return s.q + 1\nend";
    ASSERT_EQ(w.lesson.submit(inputLine("own-law", lawArgument(source))), "");
    std::string heard;
    for (int frame = 0; frame < 600 && heard.find("Your law") == std::string::npos; ++frame) {
        w.frames(1);
        heard = viewer.afterPass(w.lesson, true, now += 1.0 / 60).announcement;
    }
    EXPECT_NE(heard.find("Your law stopped at line 2: bad argument"), std::string::npos) << heard;
    const View view = viewOf(w.lesson, true);
    EXPECT_EQ(view.law.source, source);
    EXPECT_EQ(view.law.status, "stopped");
    EXPECT_EQ(view.law.errorLine, 2);
}

TEST(OwnLaw, TheLawArgumentReadsBackExactly) {
    for (const std::string source : {"", "-", "%", "a b\n\tc", "%2D", "+"}) {
        const std::string word = lawArgument(source);
        EXPECT_EQ(splitWords(word).size(), 1u) << source;
        EXPECT_EQ(lawOfArgument(word), source);
    }
}

} // namespace
} // namespace servo::testing
