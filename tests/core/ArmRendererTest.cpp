#include "TestWorld.h"

#include "core/figure/ArmRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace servo::testing {
namespace {

struct Pass {
    SimulationState state = straightUpArm();
    DisplayList surface;

    void draw() {
        surface.forget();
        drawFigure(state, surface);
    }
    std::vector<const DrawOp*> circles() const {
        std::vector<const DrawOp*> found;
        for (const DrawOp& op : surface.ops()) {
            if (op.kind == DrawOp::Kind::Circle) {
                found.push_back(&op);
            }
        }
        return found;
    }
};

TEST(ArmRenderer, OpenGripperDrawsTheOpenJawsAndFourMarkers) {
    Pass pass;
    pass.draw();
    // Rows 1..32, the open set 52..72 and the object 73 are drawn; the closed set is skipped.
    const std::size_t drawn = 32 + 21 + 1;
    std::size_t strokes = 0;
    for (const DrawOp& op : pass.surface.ops()) {
        strokes += op.kind == DrawOp::Kind::Point || op.kind == DrawOp::Kind::LineTo;
    }
    EXPECT_EQ(strokes, drawn);
    const auto circles = pass.circles();
    ASSERT_EQ(circles.size(), 4u);
    const float expected[4][2] = {{300, 70}, {300, 35}, {300, 0}, {246, 99}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(circles[i]->x1, expected[i][0]);
        EXPECT_EQ(circles[i]->y1, expected[i][1]);
        EXPECT_EQ(circles[i]->x2, MarkerRadius);
        EXPECT_EQ(circles[i]->colour, MarkerColour);
    }
    // The open fingers spread to x = +-10: window 280 and 320.
    bool sawSpreadFinger = false;
    for (const DrawOp& op : pass.surface.ops()) {
        sawSpreadFinger |= op.kind == DrawOp::Kind::LineTo && op.x1 == 320 && op.y1 == -11;
    }
    EXPECT_TRUE(sawSpreadFinger);
}

TEST(ArmRenderer, ClosedGripperSwapsTheJawSets) {
    Pass pass;
    pass.state.gripperClosed = 1;
    pass.draw();
    std::size_t strokes = 0;
    bool sawTip = false;
    for (const DrawOp& op : pass.surface.ops()) {
        strokes += op.kind == DrawOp::Kind::Point || op.kind == DrawOp::Kind::LineTo;
        sawTip |= op.kind == DrawOp::Kind::LineTo && op.x1 == 300 && op.y1 == -19;
        EXPECT_FALSE(op.kind == DrawOp::Kind::LineTo && op.x1 == 320) << "open finger drawn";
    }
    EXPECT_EQ(strokes, 32u + 19u + 1u);
    EXPECT_TRUE(sawTip);
    EXPECT_EQ(pass.circles().size(), 4u);
}

TEST(ArmRenderer, EveryStrokeOfAJawSetStartsWithAPenUpPoint) {
    Pass pass;
    for (int closed : {0, 1}) {
        pass.state.gripperClosed = closed;
        pass.draw();
        // The first stroke operation after the wrist marker is a plotted point.
        const auto& ops = pass.surface.ops();
        std::size_t marker = 0;
        int seen = 0;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            if (ops[i].kind == DrawOp::Kind::Circle && ++seen == 3) {
                marker = i;
            }
        }
        ASSERT_LT(marker + 1, ops.size());
        EXPECT_EQ(ops[marker + 1].kind, DrawOp::Kind::Point) << closed;
    }
}

TEST(ArmRenderer, GraspPointOfTheStraightUpPose) {
    Pass pass;
    pass.draw();
    EXPECT_EQ(pass.state.graspX, 0);
    EXPECT_EQ(pass.state.graspY, 85);
}

// Puts the loose object where its squared distance from the grasp point (0, 85) comes out
// as exactly 3 in double arithmetic, searching near the circle of radius sqrt(3).
std::optional<std::pair<double, double>> objectAtSquaredDistanceThree() {
    for (int k = 1; k < 4000; ++k) {
        const double ox = -k / 4096.0;
        double oy = 85 - std::sqrt(3 - ox * ox);
        for (int nudge = 0; nudge < 8; ++nudge) {
            const double dx = 0 - ox;
            const double dy = 85 - oy;
            if (dx * dx + dy * dy == 3) {
                return std::pair{ox, oy};
            }
            oy = std::nextafter(oy, nudge < 4 ? 0.0 : 100.0);
        }
    }
    return std::nullopt;
}

TEST(ArmRenderer, PickUpNeedsTheClosedGripperStrictlyWithinRootThree) {
    const auto exactlyThree = objectAtSquaredDistanceThree();
    ASSERT_TRUE(exactlyThree.has_value());
    Pass pass;
    pass.state.gripperClosed = 1;
    pass.state.pointX[73] = exactlyThree->first;
    pass.state.pointY[73] = exactlyThree->second;
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 0) << "squared distance exactly 3 is not close enough";

    pass.state.pointY[73] = std::nextafter(exactlyThree->second, 100.0);
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 1);

    pass.state.gripperClosed = 0; // opening drops it in the next pass
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 0);
}

TEST(ArmRenderer, OpenGripperOnTheObjectPicksNothingUp) {
    Pass pass;
    pass.state.pointX[73] = 0;
    pass.state.pointY[73] = 85;
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 0);
    pass.state.gripperClosed = 1;
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 1);
}

TEST(ArmRenderer, ClosedGripperAwayFromTheObjectPicksNothingUp) {
    Pass pass;
    pass.state.gripperClosed = 1;
    pass.draw();
    EXPECT_EQ(pass.state.objectHeld, 0);
}

TEST(ArmRenderer, SkippedPointLeavesTheDrawingPositionAlone) {
    // With the gripper closed, the open set (rows 52..72) is skipped, so the loose object's
    // plot follows the closed set's last line directly.
    Pass pass;
    pass.state.gripperClosed = 1;
    pass.draw();
    const auto& ops = pass.surface.ops();
    ASSERT_GE(ops.size(), 3u);
    const DrawOp& objectPoint = ops[ops.size() - 2];
    EXPECT_EQ(objectPoint.kind, DrawOp::Kind::Point);
    EXPECT_EQ(objectPoint.x1, 246);
    const DrawOp& lastFingerLine = ops[ops.size() - 3];
    EXPECT_EQ(lastFingerLine.kind, DrawOp::Kind::LineTo);
    EXPECT_EQ(lastFingerLine.x1, 296); // row 51 (-2, 80)
    EXPECT_EQ(lastFingerLine.y1, -10);
}

} // namespace
} // namespace servo::testing
