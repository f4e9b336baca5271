#pragma once

#include "core/lab/Lab.h"

#include <optional>
#include <string>

namespace servo {

// What a screen reader is told of the simulation. After each frame the announcer compares the
// state with what it saw last and words the changes worth hearing: the scheme chosen, the
// target moved, the target reached or out of reach, a scheme still hunting, stopped or running,
// the gripper taking or dropping the object, the gain. It speaks at most once every
// MinimumGapSeconds and the last change wins; a front end passes what it returns to its polite
// live region (the page) or its accessible description (the window).
class Announcer {
public:
    static constexpr double MinimumGapSeconds = 1.5;
    static constexpr long HuntingAfterSteps = 300;

    // What to announce after a frame at `nowSeconds` (any steady clock), or nothing; `news`
    // (a recording started, a replay ended, ...) is told before the state's changes.
    std::optional<std::string> afterFrame(const Lab& lab, double nowSeconds,
                                          const std::string& news = {});

    // Everything at once, on demand: scheme, joint angles in degrees, effector and target, the
    // forward schemes' error read-outs, run state and gripper.
    static std::string wholeState(const Lab& lab);
    // One line for the picture's accessible name: scheme, target and whether it is reached.
    static std::string summary(const Lab& lab);

private:
    struct Seen {
        int servoType;
        double targetX;
        double targetY;
        bool reached;
        bool outOfReach;
        bool hunting;
        int runState;
        int objectHeld;
        double gain;
    };
    static Seen look(const Lab& lab);

    std::optional<Seen> seen_;
    std::string pending_;
    std::optional<double> lastSpoken_;
};

} // namespace servo
