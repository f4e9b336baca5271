#include "core/lab/Speeds.h"

#include <algorithm>
#include <cmath>

namespace servo {

int FramePacer::passesDue(const Speed& speed, double elapsedSeconds) {
    if (speed.passesPerFrame > 0) {
        owed_ = 0;
        return speed.passesPerFrame;
    }
    // A long pause (a hidden window, a breakpoint) owes at most one pass.
    const double elapsed = std::isfinite(elapsedSeconds) ? std::clamp(elapsedSeconds, 0.0, 1.0) : 0;
    owed_ = std::min(owed_ + elapsed * speed.cyclesPerSecond, 1.0 + speed.cyclesPerSecond / 10);
    const int due = static_cast<int>(owed_);
    owed_ -= due;
    return due;
}

} // namespace servo
