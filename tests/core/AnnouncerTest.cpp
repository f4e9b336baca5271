#include "TestWorld.h"

#include "core/access/Announcer.h"
#include "core/simulation/Handlers.h"

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
    ::testing::Values(LessonCase{"ReachAndStop",
                                 [](World& w, double now) {
                                     at(0.1, [](World& x) {
                                         surfacePressed(x.state, x.surface, 350, 40);
                                     })(w, now);
                                     at(2.5, [](World& x) { stopClicked(x.state); })(w, now);
                                 },
                                 4.5,
                                 {"Target at x 25.0, y 30.0", "Target reached", "Stopped"}},
                      LessonCase{
                          "OutOfReachAndTheLastOfQuickChanges",
                          [](World& w, double now) {
                              at(0.1, [](World& x) {
                                  surfacePressed(x.state, x.surface, 330, 60);
                              })(w, now);
                              at(0.2, [](World& x) { surfaceMoved(x.state, 445, 5); })(w, now);
                              at(0.3, [](World& x) { surfaceMoved(x.state, 446, 6); })(w, now);
                          },
                          2,
                          {"Target at x 15.0, y 10.0", "Target at x 73.0, y 64.0. Out of reach"}},
                      LessonCase{"Hunting",
                                 [](World& w, double now) {
                                     at(0.1, [](World& x) {
                                         servoBoxPressed(x.state, x.panel, CheckBox::Check2);
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
                                 {"Gain 1.5", "Target reached", "Gain 2.0"}}),
    [](const auto& lesson) { return std::string(lesson.param.name); });

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
