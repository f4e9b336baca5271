#include "TestWorld.h"

#include "core/teaching/Grid.h"

#include <gtest/gtest.h>

#include <set>

namespace servo::testing {
namespace {

TEST(Grid, FirstClickDrawsNothingThenEveryRunningCycleDrawsIt) {
    World w;
    gridMenuClicked(w.state, w.surface, w.yield);
    EXPECT_EQ(w.state.gridOn, 1);
    EXPECT_TRUE(w.surface.ops().empty());
    EXPECT_EQ(w.yields, 0);

    w.cycle();
    std::set<float> verticals;
    std::set<float> horizontals;
    bool colourSet = false;
    for (const DrawOp& op : w.surface.ops()) {
        if (op.kind == DrawOp::Kind::ForeColour && op.colour == GridColour) {
            colourSet = true;
        }
        if (op.kind != DrawOp::Kind::Line) {
            continue;
        }
        EXPECT_TRUE(colourSet);
        if (op.x1 == op.x2) {
            verticals.insert(op.x1);
            EXPECT_EQ(op.y1, 20);
            EXPECT_EQ(op.y2, 120);
        } else {
            horizontals.insert(op.y1);
            EXPECT_EQ(op.x1, 230);
            EXPECT_EQ(op.x2, 410);
        }
    }
    EXPECT_EQ(verticals.size(), 19u);
    EXPECT_EQ(horizontals.size(), 11u);
    EXPECT_EQ(*verticals.begin(), 230);
    EXPECT_EQ(*verticals.rbegin(), 410);
    EXPECT_EQ(*horizontals.begin(), 20);
    EXPECT_EQ(*horizontals.rbegin(), 120);
    EXPECT_EQ(w.yields, 1);
    EXPECT_EQ(w.surface.ops().back().kind, DrawOp::Kind::Line);
    EXPECT_EQ(w.surface.foreColour(), GridColour);
}

TEST(Grid, SecondClickDrawsItOnceMore) {
    World w;
    gridMenuClicked(w.state, w.surface, w.yield);
    w.cycle();
    w.surface.forget();
    gridMenuClicked(w.state, w.surface, w.yield);
    EXPECT_EQ(w.state.gridOn, 0);
    EXPECT_EQ(w.count(DrawOp::Kind::Line), 30u);
    w.cycle();
    EXPECT_EQ(w.count(DrawOp::Kind::Line), 0u);
}

TEST(Grid, StoppedRedrawUsesTheGridColourLastSet) {
    World w;
    gridMenuClicked(w.state, w.surface, w.yield);
    w.cycle();
    stopClicked(w.state);
    w.cycle();
    EXPECT_EQ(w.surface.foreColour(), GridColour);
    EXPECT_EQ(w.count(DrawOp::Kind::Line), 0u);
}

TEST(Grid, HandlersRunDuringTheGridsYield) {
    World w;
    gridMenuClicked(w.state, w.surface, w.yield);
    // A "Panic/Stop" arriving during the yield stops the next pass, not this cycle's step.
    w.onYield = [&] { stopClicked(w.state); };
    w.cycle();
    EXPECT_EQ(w.state.runState, RunStopped);
    EXPECT_NE(w.state.shoulderAngle, 0);
}

TEST(Grid, OffOrUnsetDrawsNothingAndDoesNotYield) {
    for (int value : {0, 2, -1}) {
        World w;
        w.state.gridOn = value;
        Grod(w.state, w.surface, w.yield);
        EXPECT_TRUE(w.surface.ops().empty());
        EXPECT_EQ(w.yields, 0);
    }
}

} // namespace
} // namespace servo::testing
