#pragma once

#include "core/lab/Lab.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace servo {

// Short sounds for what happens to the arm, in the order they happened.
enum class SoundEvent {
    TargetSet,  // the target moved
    Reached,    // the effector came within ErrorHistory::SettledWithin of the desired point
    OutOfReach, // the reverse kinematic reach test started failing
    Singular,   // a Jacobian scheme found the arm singular
    Grip,       // the gripper took the object
    Drop,       // the gripper let it go
    Saturated,  // with dynamics on, a joint's motor reached its torque limit
};
const char* soundEventWord(SoundEvent event); // "target", "reached", ...
inline constexpr std::array<SoundEvent, 7> SoundEvents{
    SoundEvent::TargetSet, SoundEvent::Reached, SoundEvent::OutOfReach, SoundEvent::Singular,
    SoundEvent::Grip,      SoundEvent::Drop,    SoundEvent::Saturated};

// One note of an event's motif.
struct SoundNote {
    double hertz;
    double seconds;
};
// Each event's short motif, its notes one after the other, as both front ends play it: one
// high note for a new target, a rising fifth when reached, a low note when out of reach, three
// quick repeats when singular, a low rising fourth for a grip and the same falling for a drop,
// a low buzz of two notes a semitone apart when a motor saturates.
std::span<const SoundNote> soundMotifOf(SoundEvent event);

// What a front end plays after a frame: the distance error as a continuous tone whose pitch
// follows it (a hunting arm wobbles at the hunting's period, a settling one glides down), and
// the events since the last frame. The tone is silent once the arm has settled or stopped.
struct SoundFrame {
    double toneHertz = 0; // the error tone's pitch
    double toneLevel = 0; // 0 (silent) to 1, before the user's volume
    std::vector<SoundEvent> events;
};

// The tone's pitch for a distance error: ToneLowHertz at no error, rising by an octave for each
// doubling of (1 + error / ToneErrorScale), at most ToneHighHertz.
inline constexpr double ToneLowHertz = 220;
inline constexpr double ToneHighHertz = 1760;
inline constexpr double ToneErrorScale = 2; // arm units
double toneHertzOf(double errorArmUnits);

// Turns what the lab shows after each frame into sound, comparing with the frame before.
class Sonifier {
public:
    SoundFrame afterFrame(const Lab& lab);

private:
    struct Seen {
        double error; // arm units
        double targetX;
        double targetY;
        bool reached;
        bool outOfReach;
        bool singular;
        int objectHeld;
        bool saturated;
    };
    static Seen look(const Lab& lab);
    std::optional<Seen> seen_;
};

} // namespace servo
