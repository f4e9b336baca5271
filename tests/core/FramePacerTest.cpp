#include "core/lab/Speeds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

// Frames of a display at `hertz`, each off its due time by up to `jitterSeconds`.
std::vector<int> cyclesOfFrames(FramePacer& pacer, const Speed& speed, double hertz,
                                double jitterSeconds, int frames) {
    std::vector<int> due;
    double last = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        const double wobble = jitterSeconds * ((frame * 7919) % 13 - 6) / 6.0; // -1..1 of it
        const double at = frame / hertz + wobble;
        due.push_back(pacer.cyclesDue(speed, at - last));
        last = at;
    }
    return due;
}

struct DisplayCase {
    double hertz;
    double jitterSeconds;
};

class NormalSpeedOnAnyDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(NormalSpeedOnAnyDisplay, RunsSixtyStepsASecondOfWallTime) {
    const auto [hertz, jitter] = GetParam();
    FramePacer pacer;
    const int frames = static_cast<int>(hertz * 10);
    const std::vector<int> due = cyclesOfFrames(pacer, Speeds[NormalSpeed], hertz, jitter, frames);
    int total = 0;
    for (const int cycles : due) {
        total += cycles;
    }
    EXPECT_NEAR(total, 600, 1);
    EXPECT_LE(*std::max_element(due.begin(), due.end()), 60 / hertz < 1 ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(Displays, NormalSpeedOnAnyDisplay,
                         ::testing::Values(DisplayCase{30, 0.002}, DisplayCase{60, 0.004},
                                           DisplayCase{75, 0.002}, DisplayCase{144, 0.001},
                                           DisplayCase{240, 0.0005}),
                         [](const auto& display) {
                             return std::to_string(static_cast<int>(display.param.hertz)) + "Hz";
                         });

TEST(FramePacer, SixtyHertzWithJitterIsExactlyOneStepAFrame) {
    FramePacer pacer;
    const std::vector<int> due = cyclesOfFrames(pacer, Speeds[NormalSpeed], 60, 0.005, 600);
    EXPECT_EQ(std::count(due.begin(), due.end(), 1), 600);
}

TEST(FramePacer, AHundredAndFortyFourHertzPresentsSomeFramesWithoutAStep) {
    FramePacer pacer;
    const std::vector<int> due = cyclesOfFrames(pacer, Speeds[NormalSpeed], 144, 0, 144);
    EXPECT_GT(std::count(due.begin(), due.end(), 0), 70);
    EXPECT_EQ(std::count(due.begin(), due.end(), 0) + std::count(due.begin(), due.end(), 1), 144);
}

TEST(FramePacer, LateFramesRunAtMostFourStepsAndDropTheRest) {
    FramePacer pacer;
    EXPECT_EQ(pacer.cyclesDue(Speeds[NormalSpeed], 0.2), 4); // 12 were due
    EXPECT_EQ(pacer.cyclesDue(Speeds[NormalSpeed], 1.0 / 60), 1);
    EXPECT_EQ(pacer.cyclesDue(Speeds[NormalSpeed], 1e9), 4); // a long pause
    // At 480 a second a 30 Hz frame still runs its 16.
    EXPECT_EQ(pacer.cyclesDue(Speeds[Speeds.size() - 1], 1.0 / 30), 16);
    EXPECT_EQ(pacer.cyclesDue(Speeds[0], 5), 1);
}

} // namespace
} // namespace servo::testing
