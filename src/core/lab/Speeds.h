#pragma once

#include <array>

namespace servo {

// How fast the lab runs the simulation: a number of control cycles a second (slow motion), or
// a number of passes each displayed frame. The picture is presented every frame either way.
struct Speed {
    const char* caption;
    double cyclesPerSecond; // 0 for the per-frame speeds
    int passesPerFrame;     // 0 for the per-second speeds
};

inline constexpr std::array<Speed, 10> Speeds{{
    {"1 step per second", 1, 0},
    {"2 steps per second", 2, 0},
    {"5 steps per second", 5, 0},
    {"10 steps per second", 10, 0},
    {"20 steps per second", 20, 0},
    {"30 steps per second", 30, 0},
    {"One per frame", 0, 1},
    {"2 steps per frame", 0, 2},
    {"4 steps per frame", 0, 4},
    {"8 steps per frame", 0, 8},
}};
inline constexpr int OnePerFrame = 6; // the default: one pass per displayed frame

// Counts out the passes of each frame for a per-second speed, carrying fractions over.
class FramePacer {
public:
    // Passes due in a frame that came `elapsedSeconds` after the one before.
    int passesDue(const Speed& speed, double elapsedSeconds);
    void restart() { owed_ = 0; }

private:
    double owed_ = 0; // passes owed, as a fraction
};

} // namespace servo
