#include "LessonWorld.h"

#include "core/figure/EffectorPosition.h"
#include "core/lab/Lab.h"
#include "core/language/Translation.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/LessonTexts.h"
#include "core/lesson/PlotData.h"
#include "core/lesson/Recording.h"
#include "core/lesson/View.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ErrorFormat.h"
#include "core/servo/JacobianServos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace servo::testing {
namespace {

// The pose and the run state, bit for bit.
std::string pose(const LessonWorld& w) {
    const SimulationState& s = w.world.state;
    std::string text = jointAndTargetBits(s);
    for (int i = 1; i <= s.pointCount; ++i) {
        text += std::to_string(std::bit_cast<std::uint64_t>(s.pointX[i])) + "," +
                std::to_string(std::bit_cast<std::uint64_t>(s.pointY[i])) + " ";
    }
    return text + std::to_string(s.servoType) + std::to_string(s.elbowPair) +
           std::to_string(s.elbowChoice) + std::to_string(s.objectHeld) + std::to_string(s.gridOn) +
           std::to_string(s.clearEachCycle);
}

Experiment everySettingChanged() {
    Experiment e;
    e.servoType = ServoDampedLeastSquares;
    e.elbow = CheckBox::Check5;
    e.targetX = 420.25f;
    e.targetY = 70.1f;
    e.wrist = 12345;
    e.gain = 7.5;
    e.speed = 2;
    e.labPanel = true;
    e.cues.targetMarker = e.cues.ghosts = e.cues.manipulability = true;
    e.pathShown = e.grid = e.projector = true;
    e.running = false;
    e.raceScheme = ServoForwardXY;
    e.dampingLambda = 12.5;
    e.pose = {15, -105.5, 180};
    e.dynamics = true;
    e.motorLaw = MotorLaw::ComputedTorque;
    e.naturalFrequency = 12.5;
    e.dampingRatio = 0.25;
    e.modelErrorPercent = -30;
    return e;
}

TEST(Experiment, EverySettingRoundTripsThroughTextLinkAndLab) {
    const Experiment experiment = everySettingChanged();
    ASSERT_FALSE(experiment == Experiment{});
    const ExperimentReading fromText = readExperiment(writeExperiment(experiment));
    ASSERT_TRUE(fromText.experiment) << fromText.error;
    EXPECT_EQ(writeExperiment(*fromText.experiment), writeExperiment(experiment));
    const ExperimentReading fromLink = readExperimentLink("#" + experimentLink(experiment));
    ASSERT_TRUE(fromLink.experiment) << fromLink.error;
    EXPECT_EQ(writeExperiment(*fromLink.experiment), writeExperiment(experiment));

    LessonWorld w;
    w.lesson.apply(experiment);
    EXPECT_EQ(writeExperiment(experimentOf(w.lab, true)), writeExperiment(experiment));
    EXPECT_TRUE(w.world.controls.isChecked(CheckBox::Check5));
    EXPECT_FALSE(w.world.controls.isChecked(CheckBox::Check7));
}

TEST(Experiment, UnknownKeysAreIgnoredWithAWarning) {
    const ExperimentReading reading =
        readExperiment("servo-experiment 1\r\n# a comment\ncolour=red\n gain = 2.5 \n");
    ASSERT_TRUE(reading.experiment) << reading.error;
    EXPECT_EQ(reading.experiment->gain, 2.5);
    ASSERT_EQ(reading.warnings.size(), 1u);
    EXPECT_EQ(reading.warnings[0], "line 3: unknown key 'colour' ignored");
}

struct BadExperiment {
    const char* text;
    const char* message;
};

class BadExperiments : public ::testing::TestWithParam<BadExperiment> {};

TEST_P(BadExperiments, AreRefusedWithTheirLineAndLeaveTheLabAsItWas) {
    LessonWorld w;
    w.lesson.submit("enter-gain 3");
    w.lesson.submit(inputLine("press", 300, 90));
    w.lesson.submit("release");
    w.frames(20);
    const std::string before = pose(w) + writeExperiment(experimentOf(w.lab, false));
    const ExperimentReading reading = readExperiment(GetParam().text);
    EXPECT_EQ(w.lesson.open(reading), reading.error);
    EXPECT_NE(reading.error, "");
    EXPECT_EQ(reading.error, GetParam().message);
    EXPECT_EQ(pose(w) + writeExperiment(experimentOf(w.lab, false)), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadExperiments,
    ::testing::Values(
        BadExperiment{"scheme=xy\n",
                      "line 1: not an experiment (the first line must be \"servo-experiment 1\")"},
        BadExperiment{"servo-experiment 1\nscheme=fast\n",
                      "line 2: scheme: unknown scheme 'fast' (reverse, xy, rtheta, transpose, "
                      "resolved, damped)"},
        BadExperiment{"servo-experiment 1\ngain=25\n", "line 2: gain: '25' is outside 0..20"},
        BadExperiment{"servo-experiment 1\ngain=7,5\n", "line 2: gain: not a number: '7,5'"},
        BadExperiment{"servo-experiment 1\ntarget=420\n",
                      "line 2: target: expected X,Y, not '420'"},
        BadExperiment{"servo-experiment 1\ntarget=3.5e38,70\n",
                      "line 2: target: '3.5e38' is outside -3.4028235e+38..3.4028235e+38"},
        BadExperiment{"servo-experiment 1\nwrist=-1\n", "line 2: wrist: '-1' is outside 0..32767"},
        BadExperiment{"servo-experiment 1\nelbow=sideways\n",
                      "line 2: elbow: unknown elbow 'sideways' (down, up, right or left)"},
        BadExperiment{"servo-experiment 1\nspeed=7\n",
                      "line 2: speed: no speed of '7' steps per second (1, 2, 5, 10, 20, 30, 60, "
                      "120, 240, 480, or default)"},
        BadExperiment{"servo-experiment 1\ncues=marker,sparkles\n",
                      "line 2: cues: unknown cue 'sparkles' (marker, reach, stopped, ghosts, "
                      "manipulability)"},
        BadExperiment{"servo-experiment 1\nrun=yes\n", "line 2: run: expected 0 or 1, not 'yes'"},
        BadExperiment{"servo-experiment 1\nlambda=nan\n",
                      "line 2: lambda: not a finite number: 'nan'"},
        BadExperiment{"servo-experiment 1\npose=10,20\n",
                      "line 2: pose: expected three angles S,E,W, not '10,20'"},
        BadExperiment{"servo-experiment 1\npose=10,20,30,40\n",
                      "line 2: pose: expected three angles S,E,W, not '10,20,30,40'"},
        BadExperiment{"servo-experiment 1\npose=0,-200,0\n",
                      "line 2: pose: '-200' is outside -180..180"},
        BadExperiment{"servo-experiment 1\ndynamics=on\n",
                      "line 2: dynamics: expected 0 or 1, not 'on'"},
        BadExperiment{"servo-experiment 1\nmotor=pidd\n",
                      "line 2: motor: unknown motor law 'pidd' (none, p, pd, pdg, pid, ct, jtg)"},
        BadExperiment{"servo-experiment 1\ntune=10\n", "line 2: tune: expected WN,ZETA, not '10'"},
        BadExperiment{"servo-experiment 1\ntune=10,6\n", "line 2: tune: '6' is outside 0..5"},
        BadExperiment{"servo-experiment 1\nmodel-error=150\n",
                      "line 2: model-error: '150' is outside -100..100"},
        BadExperiment{"servo-experiment 1\ngain=2\ngain=3\n",
                      "line 3: gain: given before, at line 2"},
        BadExperiment{"servo-experiment 1\njust words\n",
                      "line 2: expected key=value, not 'just words'"}));

TEST(Experiment, ARefusalSaysWhyInTheLanguageChosen) {
    ASSERT_TRUE(setLanguage("de"));
    const std::string text = readExperiment("servo-experiment 1\ngain=25\n").error;
    const std::string link = readExperimentLink("#v=1&elbow=sideways").error;
    Player player;
    const std::string script = player.load("cycles 1\npress 1 two\n");
    setLanguage("en");
    EXPECT_EQ(text, "Zeile 2: gain: '25' liegt außerhalb von 0..20");
    EXPECT_EQ(link, "Eintrag 2 des Links: elbow: unbekannter Ellbogen 'sideways' (down, up, "
                    "right oder left)");
    EXPECT_EQ(script, "Zeile 2: keine Zahl: 'two'");
}

TEST(Experiment, ALinksBadValueNamesItsItem) {
    LessonWorld w;
    const auto open = [&w](const char* hash) {
        const ExperimentReading reading = readExperimentLink(hash);
        return w.lesson.open(reading);
    };
    EXPECT_EQ(open("#v=1&scheme=xy&gain=%32%35"),
              "item 3 of the link: gain: '25' is outside 0..20");
    EXPECT_EQ(open("#scheme=xy"),
              "item 1 of the link: not an experiment (the link must start with v=1)");
    EXPECT_EQ(open("#v=1&target=420%2C70.5&scheme=xy"), "");
    EXPECT_EQ(w.world.state.servoType, ServoForwardXY);
    EXPECT_EQ(w.world.state.targetY, 70.5);
}

double distanceFromLine(ArmPoint a, ArmPoint b, ArmPoint p) {
    return std::abs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) /
           std::hypot(b.x - a.x, b.y - a.y);
}

// The README's fourth class experiment, second half, from its link: resolved rate runs the
// hand straight out toward a target past its reach, the manipulability falls, the joint steps
// grow, and SINGULAR stops it where the cue's ellipse is flat; damped least squares from there
// stretches on calmly.
TEST(ClassExperiment, ResolvedRateRunsStraightOutUntilSingularThenDampingStretchesOn) {
    LessonWorld w;
    const SimulationState& state = w.world.state;
    ASSERT_EQ(w.lesson.open(readExperimentLink("#v=1&scheme=resolved&pose=15,-105,-90&target=450,"
                                               "50&lab=1&cues=marker,manipulability")),
              "");
    const ArmPoint target{75, 20};
    w.frames(2); // the first step starts from the stated pose; the second on its line
    const ArmPoint start = effectorPosition(state);
    const double secondStep = state.largestJointStep;
    double largestStep = secondStep;
    double previousDistance = std::hypot(target.x - start.x, target.y - start.y);
    int frames = 2;
    for (; frames < 100 && state.singular == 0; ++frames) {
        w.frames(1);
        const ArmPoint p = effectorPosition(state);
        EXPECT_LT(distanceFromLine(start, target, p), 0.01) << "frame " << frames;
        const double distance = std::hypot(target.x - p.x, target.y - p.y);
        EXPECT_LE(distance, previousDistance) << "frame " << frames;
        previousDistance = distance;
        largestStep = std::max(largestStep, state.largestJointStep);
    }
    ASSERT_EQ(state.singular, 1) << "after " << frames << " frames";
    EXPECT_GT(start.x, 30);
    EXPECT_LT(previousDistance, 15); // it ran out most of the way
    EXPECT_GT(largestStep, 1.3 * secondStep);
    const double largestW = state.upperArmLength * state.forearmLength;
    EXPECT_LT(manipulabilityOf(state).w, SingularShare * largestW);
    EXPECT_LT(manipulabilityOf(state).minor, 0.02 * manipulabilityOf(state).major);
    EXPECT_NE(w.lab.figures().find("manipulability w = 21.95"), std::string::npos)
        << w.lab.figures();

    w.lesson.submit("scheme damped");
    w.frames(120);
    const ArmPoint end = effectorPosition(state);
    EXPECT_LT(std::hypot(target.x - end.x, target.y - end.y), previousDistance - 3);
    EXPECT_EQ(state.singular, 0);
    EXPECT_LT(state.largestJointStep, 0.01);
}

// The README's fourth class experiment, first half: after 1.5 s the race arm (Jacobian
// transpose) stands a few arm units from the target, which the picture shows as on it, and
// then creeps the last units for seconds. The figures say where it is, not just that it has
// not settled; once within 0.5 arm units they give the cycle it settled at.
TEST(ClassExperiment, TheRaceFiguresSayWhereTheRaceArmIs) {
    LessonWorld w;
    ASSERT_EQ(w.lesson.open(readExperimentLink(
                  "#v=1&scheme=xy&target=430,110&lab=1&race=transpose&cues=marker,manipulability")),
              "");
    w.frames(90);
    const double distance = w.lab.race().distance();
    EXPECT_GT(distance, 1);
    EXPECT_LT(distance, 3);
    EXPECT_NE(
        w.lab.figures().find("race not settled: " + formatFixed(distance, 2) + " arm units off"),
        std::string::npos)
        << w.lab.figures();
    int frames = 90;
    for (; frames < 1000 && w.lab.race().distance() >= ErrorHistory::SettledWithin; ++frames) {
        w.frames(1);
    }
    EXPECT_NE(w.lab.figures().find("race settled at cycle " + std::to_string(frames)),
              std::string::npos)
        << w.lab.figures();
}

// A short lesson through the user's inputs, frames between them.
void teach(LessonWorld& w) {
    w.lesson.submit(inputLine("press", 300.5f, 90.25f));
    w.frames(3);
    w.lesson.submit(inputLine("move", 310, 80));
    w.frames(2);
    w.lesson.submit("release");
    w.frames(25);
    w.lesson.submit("box-press 1");
    w.lesson.submit("box-click 1");
    w.lesson.submit("box-click 4");
    w.lesson.submit(inputLine("scroll", 9000));
    w.lesson.submit("enter-gain 2.34");
    w.frames(30);
    w.lesson.submit("scheme rtheta");
    w.lesson.submit("race damped");
    w.lesson.submit("target-key -5 1");
    w.frames(40);
    w.lesson.perform(menuItem(Command::Stop));
    w.frames(3);
    w.lesson.perform(menuItem(Command::Step));
    w.frames(2);
    w.lesson.perform(menuItem(Command::Run));
    w.lesson.submit("close");
    w.lesson.submit("path");
    w.lesson.submit("scheme damped");
    w.lesson.submit("enter-lambda 9");
    w.frames(45);
}

TEST(Recording, ReplaysToTheSamePoseBitForBit) {
    LessonWorld recorded;
    // The set-up before the recording is kept: the recording starts from it.
    recorded.lesson.perform(menuItem(Command::GainUp));
    recorded.lesson.submit("scheme xy");
    recorded.lesson.submit(inputLine("press", 200, 40));
    recorded.frames(10);
    recorded.lesson.startRecording();
    EXPECT_EQ(recorded.world.state.gain, 1.1);
    EXPECT_EQ(recorded.world.state.servoType, ServoForwardXY);
    EXPECT_EQ(recorded.world.state.pointerHeld, 0);
    teach(recorded);
    recorded.lesson.perform(menuItem(Command::Stop)); // the replay ends stopped
    const std::string script = recorded.lesson.stopRecording();
    EXPECT_FALSE(recorded.lesson.recording());

    LessonWorld replay;
    replay.lesson.perform(menuItem(Command::Grid));
    replay.lab.setSpeed(0);
    ASSERT_EQ(replay.lesson.play(script), "") << script;
    replay.lesson.perform(menuItem(Command::Step)); // its first pass: the set-up applied
    EXPECT_EQ(replay.lab.settings().speed, 0);      // the replay keeps the speed the user chose
    EXPECT_EQ(replay.world.state.gain, 1.1);
    EXPECT_EQ(replay.lesson.open(readExperiment("servo-experiment 1\ngain=3\n")),
              tr(ReplayHoldsInputText));
    replay.lab.setSpeed(NormalSpeed);
    int frames = 0;
    while (replay.lesson.playing() && frames++ < 10000) {
        EXPECT_FALSE(replay.lesson.submit(inputLine("press", 150, 10))
                         .empty()); // the user's own input is ignored
        EXPECT_FALSE(replay.lesson.itemState(menuItem(Command::Reset), false).enabled);
        replay.frames(1);
    }
    EXPECT_FALSE(replay.lesson.playing());
    EXPECT_EQ(pose(replay), pose(recorded)) << script;
    EXPECT_EQ(replay.world.state.runState, RunStopped);
    EXPECT_EQ(replay.lesson.submit(inputLine("press", 150, 10)), "");
}

TEST(Recording, PanicStopEndsAReplayAndABadScriptPlaysNothing) {
    LessonWorld w;
    EXPECT_EQ(w.lesson.play("reset\ncycles 3\npress 1 two\n"), "line 3: not a number: 'two'");
    EXPECT_EQ(w.lesson.play("reset\napply\ngain=99\nend\n"), "line 3: gain: '99' is outside 0..20");
    EXPECT_EQ(w.lesson.play("reset\napply\ngain=2\n"), "the experiment from line 2 has no \"end\"");
    EXPECT_FALSE(w.lesson.playing());
    ASSERT_EQ(w.lesson.play("reset\napply\ngain=2\nend\ncycles 1000\nstate\n"), "");
    w.frames(2);
    EXPECT_EQ(w.world.state.gain, 2);
    const long long left = w.lesson.passesLeftToPlay();
    w.lesson.perform(menuItem(Command::Step)); // one pass of the replay at once
    EXPECT_EQ(w.lesson.passesLeftToPlay(), left - 1);
    w.lesson.perform(menuItem(Command::Stop));
    EXPECT_FALSE(w.lesson.playing());
    EXPECT_EQ(w.world.state.runState, RunStopped);
}

// A random input of a user: a press or drag anywhere the pointer can be (the picture, past its
// edges, the window's far corners as the toolkit's float holds them), a control, a key.
void randomInput(LessonWorld& w, std::mt19937& random) {
    std::uniform_real_distribution<float> coordinate(-2000, 3000);
    std::uniform_int_distribution<int> pick(0, 13);
    const auto anywhere = [&] {
        const float extremes[] = {std::numeric_limits<float>::max(),
                                  -std::numeric_limits<float>::max(), 1e30f, -3.556231f};
        return random() % 8 == 0 ? extremes[random() % 4] : coordinate(random);
    };
    const CheckBox boxes[] = {CheckBox::Check1, CheckBox::Check2, CheckBox::Check3,
                              CheckBox::Check4, CheckBox::Check5, CheckBox::Check6,
                              CheckBox::Check7};
    switch (pick(random)) {
    case 0:
        w.lesson.submit(inputLine("press", anywhere(), anywhere()));
        break;
    case 1:
        w.lesson.submit(inputLine("move", anywhere(), anywhere()));
        break;
    case 2:
        w.lesson.submit("release");
        break;
    case 3:
        w.lesson.submit(
            inputLine("target-key", random() % 2 ? 5.0 : -1.0, random() % 2 ? 5.0 : -1.0));
        break;
    case 4:
        w.lesson.submit(inputLine("scroll", static_cast<int>(random() % (WristScrollMax + 1))));
        break;
    case 5: {
        const CheckBox box = boxes[random() % 7];
        w.lesson.submit(inputLine("box-press", static_cast<int>(box)));
        w.lesson.submit(inputLine("box-click", static_cast<int>(box)));
        break;
    }
    case 6:
        w.lesson.submit(schemeChoices()[random() % schemeChoices().size()].line);
        break;
    case 7:
        w.lesson.submit(inputLine("enter-gain", static_cast<double>(random() % 2001) / 100));
        break;
    case 8:
        w.lesson.submit(inputLine("enter-lambda", static_cast<double>(random() % 5001) / 100));
        break;
    case 9:
        w.lesson.submit(raceChoices()[random() % raceChoices().size()].line);
        break;
    case 10:
        w.lesson.perform(menuItem(random() % 2 ? Command::GainUp : Command::GainDown));
        break;
    case 11:
        w.lesson.submit("path");
        break;
    case 12:
        w.lesson.perform(menuItem(random() % 2 ? Command::Stop : Command::Run));
        break;
    default:
        w.lesson.perform(menuItem(Command::Grid));
        break;
    }
}

TEST(Experiment, WhateverTheProgramSavesOpensAgainAsIt) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 150; ++run) {
        LessonWorld w;
        for (int input = 0; input < 25; ++input) {
            randomInput(w, random);
            w.frames(static_cast<int>(random() % 3));
        }
        const Experiment saved = experimentOf(w.lab, run % 2 == 0);
        const std::string text = writeExperiment(saved);
        for (const ExperimentReading& reading :
             {readExperiment(text), readExperimentLink("#" + experimentLink(saved))}) {
            ASSERT_TRUE(reading.experiment) << reading.error << "\n" << text;
            LessonWorld opened;
            ASSERT_EQ(opened.lesson.open(reading), "");
            EXPECT_EQ(writeExperiment(experimentOf(opened.lab, saved.labPanel)), text);
        }
        // A recording from here holds the same set-up and plays.
        w.lesson.startRecording();
        randomInput(w, random);
        w.frames(2);
        LessonWorld replay;
        ASSERT_EQ(replay.lesson.play(w.lesson.stopRecording()), "") << text;
    }
}

TEST(PlotData, HasAColumnForEachSignalOfTheSchemesItHolds) {
    LessonWorld w;
    w.frames(2);
    w.lesson.submit("scheme xy");
    w.frames(1);
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    const std::string csv = plotDataCsv(w.lab.history());
    std::setlocale(LC_NUMERIC, saved.c_str());
    const std::string header = csv.substr(0, csv.find("\r\n"));
    EXPECT_EQ(header, "step,scheme,target x (window units),target y (window units),distance (arm "
                      "units),shoulder error (degrees),elbow error (degrees),wrist error "
                      "(degrees),X error (arm units),Y error (arm units),shoulder angle "
                      "(degrees),elbow angle (degrees),wrist angle (degrees)");
    // Three running cycles: two of reverse kinematic, one of x,y (blank where it has no signal).
    const std::string last = csv.substr(csv.rfind("\r\n", csv.size() - 3) + 2);
    EXPECT_EQ(last.rfind("3,xy,350,50,", 0), 0u) << last;
    EXPECT_NE(last.find(",,,"), std::string::npos) << last;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
    EXPECT_EQ(std::count(last.begin(), last.end(), ','),
              std::count(header.begin(), header.end(), ','));
    if (german) {
        EXPECT_EQ(std::count(csv.begin(), csv.end(), ','),
                  4 * std::count(header.begin(), header.end(), ','));
    }
}

// True proportions is the look of each student's screen: a recording and an experiment leave it
// out, and neither opening an experiment nor Reset turns it off.
TEST(Lesson, TrueProportionsStaysWithTheScreen) {
    LessonWorld w;
    EXPECT_FALSE(viewOf(w.lesson, false).lab.trueProportions);
    w.lesson.startRecording();
    EXPECT_EQ(w.lesson.submit("item trueProportions"), "");
    w.frames(2);
    const std::string script = w.lesson.stopRecording();
    EXPECT_EQ(script.find("roportions"), std::string::npos) << script;
    const std::string saved = writeExperiment(experimentOf(w.lab, true));
    EXPECT_EQ(saved.find("roportions"), std::string::npos) << saved;
    w.lesson.apply(*readExperiment(saved).experiment);
    w.lesson.submit("reset");
    const View view = viewOf(w.lesson, false);
    EXPECT_TRUE(view.lab.trueProportions);
    const auto item = std::find_if(view.labMenu.begin(), view.labMenu.end(),
                                   [](const View::Item& i) { return i.word == "trueProportions"; });
    ASSERT_NE(item, view.labMenu.end());
    EXPECT_TRUE(item->checked);
}

} // namespace
} // namespace servo::testing
