#pragma once

#include "core/language/Translation.h"

#include <array>

namespace servo {

// How fast the lab runs the simulation, in control cycles a second of wall time, whatever the
// display's frame rate. The picture is presented every frame either way.
struct Speed {
    const char* caption;
    double stepsPerSecond;
};

inline constexpr std::array<Speed, 10> Speeds{{
    {N_("1 step per second"), 1},
    {N_("2 steps per second"), 2},
    {N_("5 steps per second"), 5},
    {N_("10 steps per second"), 10},
    {N_("20 steps per second"), 20},
    {N_("30 steps per second"), 30},
    {N_("60 steps per second (normal)"), 60},
    {N_("120 steps per second"), 120},
    {N_("240 steps per second"), 240},
    {N_("480 steps per second"), 480},
}};
inline constexpr int NormalSpeed = 6; // the default: one step per frame on a 60 Hz display

// Counts out the control cycles of each displayed frame from the time since the one before,
// carrying fractions over. Half a cycle is owed from the start, so that frames that come a
// little early or late at 60 Hz still run exactly one cycle each at the normal speed.
class FramePacer {
public:
    // Cycles due in a frame that came `elapsedSeconds` after the one before. A late frame runs
    // what is due up to a fifteenth of a second's worth (at least one); beyond that the debt is
    // dropped rather than run in a burst.
    int cyclesDue(const Speed& speed, double elapsedSeconds);
    void restart() { owed_ = 0.5; }

private:
    double owed_ = 0.5; // cycles owed, as a fraction
};

} // namespace servo
