#include "core/lab/Speeds.h"

#include <algorithm>
#include <cmath>

namespace servo {

int FramePacer::cyclesDue(const Speed& speed, double elapsedSeconds) {
    const int most = std::max(1, static_cast<int>(speed.stepsPerSecond / 15));
    // A long pause (a hidden window, a breakpoint) counts as one late frame.
    const double elapsed = std::isfinite(elapsedSeconds) ? std::clamp(elapsedSeconds, 0.0, 1.0) : 0;
    owed_ += elapsed * speed.stepsPerSecond;
    const int due = static_cast<int>(owed_);
    if (due > most) {
        owed_ = 0.5;
        return most;
    }
    owed_ -= due;
    return due;
}

} // namespace servo
