#pragma once

#include "TestWorld.h"

#include "core/lab/Lab.h"
#include "core/lesson/Lesson.h"
#include "core/state/SimulationState.h"

#include <bit>
#include <cstdint>
#include <string>

namespace servo::testing {

// A world with its lab and lesson, driven frame by frame as a front end drives it.
struct LessonWorld {
    World world;
    Lab lab{world.headless.simulation};
    Lesson lesson{lab};

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            world.surface.forget();
            lab.frame(1.0 / 60);
        }
    }
};

// The joint angles, the target, the gain and the damping bit for bit, as text: two states give
// the same text only when these values are the same to the last bit.
inline std::string jointAndTargetBits(const SimulationState& s) {
    std::string text;
    for (const double value : {s.shoulderAngle, s.elbowAngle, s.wristAngle, s.targetX, s.targetY,
                               s.gain, s.dampingLambda}) {
        text += std::to_string(std::bit_cast<std::uint64_t>(value)) + " ";
    }
    return text;
}

} // namespace servo::testing
