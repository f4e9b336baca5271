#include "core/display/PictureMap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace servo::testing {
namespace {

struct MapCase {
    const char* name;
    double width;
    double height;
    bool trueProportions;
    // Where the user rectangle's corners land, pixels: left, top, right, bottom.
    double left;
    double top;
    double right;
    double bottom;
};

// The rectangle is 330 by 130 window units, 165 by 130 arm units.
const MapCase Cases[] = {
    {"stretched fills a wide picture", 1320, 390, false, 0, 0, 1320, 390},
    {"stretched fills a tall picture", 390, 844, false, 0, 0, 390, 844},
    {"true, wide: full height, bars left and right", 1320, 390, true, 412.5, 0, 907.5, 390},
    {"true, tall: full width, bars above and below", 330, 844, true, 0, 292, 330, 552},
    {"true, exactly the rectangle's shape", 495, 390, true, 0, 0, 495, 390},
};

TEST(PictureMap, PlacesTheUserRectangleAndOneArmUnitIsAsLongAcrossAsDown) {
    for (const MapCase& c : Cases) {
        SCOPED_TRACE(c.name);
        const PictureMap map = pictureMap(c.width, c.height, c.trueProportions);
        EXPECT_NEAR(map.pixelX(SurfaceLeft), c.left, 1e-9);
        EXPECT_NEAR(map.pixelY(SurfaceTop), c.top, 1e-9);
        EXPECT_NEAR(map.pixelX(SurfaceRight), c.right, 1e-9);
        EXPECT_NEAR(map.pixelY(SurfaceBottom), c.bottom, 1e-9);
        if (c.trueProportions) {
            // An arm unit: WindowUnitsPerArmUnitX window units across, one down.
            EXPECT_NEAR(map.scaleX * WindowUnitsPerArmUnitX, map.scaleY, 1e-12);
        }
        // The pointer's inverse brings every pixel back to its point, in the bars too.
        for (const auto& [px, py] : {std::pair{0.0, 0.0}, std::pair{c.width, c.height},
                                     std::pair{c.width / 3, c.height * 0.7}}) {
            EXPECT_NEAR(map.pixelX(map.userX(px)), px, 1e-9);
            EXPECT_NEAR(map.pixelY(map.userY(py)), py, 1e-9);
        }
        EXPECT_NEAR(map.userX(map.pixelX(ShoulderX)), ShoulderX, 1e-9);
        EXPECT_NEAR(map.userY(map.pixelY(ShoulderY)), ShoulderY, 1e-9);
    }
}

TEST(PictureMap, AnEmptyPictureStillHasAnInverse) {
    for (const bool trueProportions : {false, true}) {
        const PictureMap map = pictureMap(0, 0, trueProportions);
        EXPECT_TRUE(std::isfinite(map.userX(0)) && std::isfinite(map.userY(0)));
        EXPECT_GT(map.scaleX, 0);
        EXPECT_GT(map.scaleY, 0);
    }
}

} // namespace
} // namespace servo::testing
