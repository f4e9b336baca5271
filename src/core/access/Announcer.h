#pragma once

#include "core/lab/Lab.h"

#include <cstddef>
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
    // A scheme hunts when, over the last HuntingWindow running cycles since the target or the
    // scheme changed, the distance error has stayed outside ErrorHistory::SettledWithin, has
    // turned from growing to shrinking or back at least HuntingTurns times by more than
    // HuntingSwing arm units each, and its peak in the later half of the window is at least
    // HuntingKeepsPeak of its peak in the earlier half: it keeps swinging without shrinking. A
    // settled arm, an arm that stands still, and a converging approach (after a wrist change
    // too) never hunt.
    static constexpr std::size_t HuntingWindow = 120;
    static constexpr int HuntingTurns = 4;
    static constexpr double HuntingSwing = 0.05;
    static constexpr double HuntingKeepsPeak = 0.7;

    // What to announce after a frame at `nowSeconds` (any steady clock), or nothing; `news`
    // (a recording started, a replay ended, ...) is told before the state's changes.
    std::optional<std::string> afterFrame(const Lab& lab, double nowSeconds,
                                          const std::string& news = {});

    // Everything at once, on demand: scheme, joint angles in degrees, effector and target, the
    // forward schemes' error read-outs, run state and gripper.
    static std::string wholeState(const Lab& lab);
    // One line for the picture's accessible name: scheme, target and whether it is reached.
    static std::string summary(const Lab& lab);
    // Whether the scheme in force is hunting now (see HuntingWindow).
    static bool hunting(const Lab& lab);

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
