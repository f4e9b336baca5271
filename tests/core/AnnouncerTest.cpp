#include "TestWorld.h"

#include "core/access/Announcer.h"
#include "core/simulation/Handlers.h"
#include "core/state/Geometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

// A lesson: what the user does at which second, and what is heard by when.
struct LessonCase {
    const char* name;
    std::function<void(World&, double second)> act; // called each frame with the clock
    double seconds;
    std::vector<std::string> heard; // in order; each must be a whole announcement
};

void PrintTo(const LessonCase& lesson, std::ostream* out) {
    *out << lesson.name;
}

std::vector<std::string> run(const LessonCase& lesson, std::vector<double>* at = nullptr) {
    World w;
    Lab lab(w.headless.simulation);
    Announcer announcer;
    std::vector<std::string> heard;
    const int frames = static_cast<int>(lesson.seconds * 60);
    for (int frame = 0; frame <= frames; ++frame) {
        const double now = frame / 60.0;
        lesson.act(w, now);
        lab.frame(1.0 / 60);
        if (auto text = announcer.afterFrame(lab, now)) {
            heard.push_back(*text);
            if (at != nullptr) {
                at->push_back(now);
            }
        }
    }
    return heard;
}

class Lessons : public ::testing::TestWithParam<LessonCase> {};

TEST_P(Lessons, AreToldInWords) {
    EXPECT_EQ(run(GetParam()), GetParam().heard);
}

const auto at = [](double when, std::function<void(World&)> what) {
    return [when, what](World& w, double now) {
        if (now >= when && now - 1.0 / 60 < when) {
            what(w);
        }
    };
};

INSTANTIATE_TEST_SUITE_P(
    Announcer, Lessons,
    ::testing::Values(
        LessonCase{"ReachAndStop",
                   [](World& w, double now) {
                       at(0.1, [](World& x) { surfacePressed(x.state, x.surface, 350, 40); })(w,
                                                                                              now);
                       at(2.5, [](World& x) { stopClicked(x.state); })(w, now);
                   },
                   4.5,
                   {"Target at x 25.0, y 30.0", "Target at x 25.0, y 30.0: reached", "Stopped"}},
        LessonCase{"OutOfReachAndTheLastOfQuickChanges",
                   [](World& w, double now) {
                       at(0.1, [](World& x) { surfacePressed(x.state, x.surface, 330, 60); })(w,
                                                                                              now);
                       at(0.2, [](World& x) { surfaceMoved(x.state, 445, 5); })(w, now);
                       at(0.3, [](World& x) { surfaceMoved(x.state, 446, 6); })(w, now);
                   },
                   2,
                   {"Target at x 15.0, y 10.0", "Target at x 73.0, y 64.0: out of reach"}},
        // Ten arrow presses, quicker than the announcer speaks: the last thing
        // heard is where the target ended and that it is reached.
        LessonCase{"TenArrowPresses",
                   [](World& w, double now) {
                       for (int press = 0; press < 10; ++press) {
                           at(0.505 + press * 0.1, [](World& x) {
                               targetMovedByKey(x.state, x.surface, TargetKeyStep, 0);
                           })(w, now);
                       }
                   },
                   5,
                   {"Target at x 25.0, y 20.0: reached", "Target at x 50.0, y 20.0: reached"}},
        LessonCase{"Hunting",
                   [](World& w, double now) {
                       at(0.1, [](World& x) {
                           servoBoxPressed(x.state, x.controls, CheckBox::Check2);
                           surfacePressed(x.state, x.surface, 360, 110);
                       })(w, now);
                   },
                   6,
                   {"Forward Kin.(x,y) scheme. Target at x 30.0, y -40.0",
                    "Still moving: the Forward Kin.(x,y) scheme is hunting"}},
        LessonCase{"Gain",
                   [](World& w, double now) {
                       at(0.1, [](World& x) { gainEntered(x.state, 1.5); })(w, now);
                       at(2, [](World& x) { gainEntered(x.state, 2); })(w, now);
                   },
                   4,
                   {"Gain 1.5", "Target at x 25.0, y 20.0: reached", "Gain 2.0"}}),
    [](const auto& lesson) { return std::string(lesson.param.name); });

// Whether a scheme hunts, judged after every frame of a lesson: a lesson that hunts does so at
// its end, one that does not never does.
struct HuntingCase {
    const char* name;
    std::function<void(World&, double second)> act;
    double seconds;
    bool hunts;
};

void PrintTo(const HuntingCase& lesson, std::ostream* out) {
    *out << lesson.name;
}

class Hunting : public ::testing::TestWithParam<HuntingCase> {};

TEST_P(Hunting, MeansSwingingWithoutShrinking) {
    World w;
    Lab lab(w.headless.simulation);
    bool ever = false;
    bool last = false;
    for (int frame = 0; frame <= static_cast<int>(GetParam().seconds * 60); ++frame) {
        GetParam().act(w, frame / 60.0);
        lab.frame(1.0 / 60);
        last = Announcer::hunting(lab);
        ever = ever || last;
    }
    EXPECT_EQ(ever, GetParam().hunts);
    EXPECT_EQ(last, GetParam().hunts);
}

const auto choose = [](int servoType, float x, float y, double gain = 1) {
    return at(0.1, [=](World& w) {
        schemeChosen(w.state, w.controls, servoType);
        gainEntered(w.state, gain);
        surfacePressed(w.state, w.surface, x, y);
        surfaceReleased(w.state);
    });
};

INSTANTIATE_TEST_SUITE_P(
    Announcer, Hunting,
    ::testing::Values(HuntingCase{"XYLowOnTheRight", choose(ServoForwardXY, 430, 110), 6, true},
                      HuntingCase{"XYBesideTheShoulder", choose(ServoForwardXY, 360, 110), 6, true},
                      HuntingCase{"ReverseKinematicAfterAWristChange",
                                  [](World& w, double now) {
                                      for (int change = 0; change < 8; ++change) {
                                          at(6 + change * 0.5, [change](World& x) {
                                              x.controls.setWristScrollPosition(4000 *
                                                                                (change + 1));
                                          })(w, now);
                                      }
                                  },
                                  12, false},
                      HuntingCase{"ReverseKinematicOvershootThatShrinks",
                                  choose(ServoReverseKinematic, 250, 90, 9.5), 8, false},
                      HuntingCase{"ReverseKinematicAtGainTenSwingsForEver",
                                  choose(ServoReverseKinematic, 250, 90, 10), 8, true},
                      HuntingCase{"ResolvedRateStuckAtItsSingularity",
                                  choose(ServoResolvedRate, 400, 60), 12, false},
                      HuntingCase{"ReverseKinematicOutOfReachStandsStill",
                                  choose(ServoReverseKinematic, 450, 5), 12, false}),
    [](const auto& lesson) { return std::string(lesson.param.name); });

// Told to a person, each joint angle is in (-180, 180] degrees, however many turns the state's
// angle holds.
TEST(Announcer, TellsEachJointAngleWithinHalfATurn) {
    const struct {
        double degrees;
        const char* told;
    } cases[] = {{-66831.5, "128.5"}, {66683.6, "83.6"}, {180, "180.0"},     {-180, "180.0"},
                 {-179.96, "180.0"},  {540, "180.0"},    {-179.9, "-179.9"}, {0, "0.0"},
                 {-0.04, "0.0"},      {359.9, "-0.1"},   {-45, "-45.0"}};
    for (const auto& angle : cases) {
        World w;
        Lab lab(w.headless.simulation);
        w.state.shoulderAngle = w.state.elbowAngle = w.state.wristAngle =
            angle.degrees / DegreesPerRadian;
        const std::string told = std::string(angle.told) + " degrees";
        EXPECT_NE(Announcer::wholeState(lab).find("Shoulder " + told + ", elbow " + told +
                                                  ", wrist " + told + "."),
                  std::string::npos)
            << angle.degrees << ": " << Announcer::wholeState(lab);
    }
}

TEST(Announcer, SpeaksAtMostOnceEveryGapAndTellsTheWholeStateOnDemand) {
    std::vector<double> when;
    const LessonCase busy{"Busy",
                          [](World& w, double now) {
                              // a new target every 0.2 s
                              if (static_cast<int>(now * 60) % 12 == 6) {
                                  surfacePressed(w.state, w.surface,
                                                 static_cast<float>(300 + now * 10), 50);
                              }
                          },
                          6,
                          {}};
    const std::vector<std::string> heard = run(busy, &when);
    ASSERT_GE(when.size(), 3u);
    for (std::size_t i = 1; i < when.size(); ++i) {
        EXPECT_GE(when[i] - when[i - 1], Announcer::MinimumGapSeconds - 1e-9);
    }

    World w;
    Lab lab(w.headless.simulation);
    w.cycles(100);
    const std::string whole = Announcer::wholeState(lab);
    EXPECT_NE(whole.find("Reverse Kinematic scheme. Shoulder "), std::string::npos) << whole;
    EXPECT_NE(whole.find("target at x 25.0, y 20.0, distance 0.0."), std::string::npos) << whole;
    EXPECT_NE(whole.find("Running. Gripper open."), std::string::npos) << whole;
    EXPECT_EQ(Announcer::summary(lab),
              "Robot arm, Reverse Kinematic scheme, target at x 25.0, y 20.0, reached");
}

} // namespace
} // namespace servo::testing
