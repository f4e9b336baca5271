#include "core/access/PacedText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace servo::testing {
namespace {

// A held arrow key: a new name every frame for a second, then the name rests. What is told:
// the first name at once, then at most one every 1.5 s, and the name it rests on, once.
TEST(PacedText, TellsAChangingTextAtMostOncePerGapAndAlwaysTheLast) {
    PacedText name(1.5);
    std::vector<std::pair<double, std::string>> told;
    for (int frame = 0; frame <= 300; ++frame) {
        const double now = frame / 60.0;
        const std::string text = "target " + std::to_string(std::min(frame, 60));
        if (auto said = name.offer(text, now)) {
            told.emplace_back(now, *said);
        }
    }
    ASSERT_EQ(told.size(), 2U);
    EXPECT_EQ(told[0], std::make_pair(0.0, std::string("target 0")));
    EXPECT_DOUBLE_EQ(told[1].first, 1.5);
    EXPECT_EQ(told[1].second, "target 60");
}

TEST(PacedText, TellsTheSameTextOnlyOnce) {
    PacedText name(1.5);
    EXPECT_TRUE(name.offer("a", 0));
    EXPECT_FALSE(name.offer("a", 5));
    EXPECT_TRUE(name.offer("b", 6));
}

} // namespace
} // namespace servo::testing
