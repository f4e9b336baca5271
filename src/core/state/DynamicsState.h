#pragma once

#include <array>
#include <limits>

namespace servo {

struct SimulationState;

// Joint values in the order shoulder, elbow, wrist.
using JointValues = std::array<double, 3>;

// The motor laws, by their place in the motor law table (core/dynamics/MotorLaws.cpp).
enum class MotorLaw {
    None,
    P,
    PD,
    PDGravity,
    PID,
    ComputedTorque,
    JacobianTransposeGravity,
    Own, // the torque law the student wrote (see StudentLaw)
};

// The dynamics mode's settings at start-up.
inline constexpr MotorLaw DefaultMotorLaw = MotorLaw::PDGravity;
inline constexpr double DefaultNaturalFrequency = 10; // rad/s
inline constexpr double DefaultDampingRatio = 0.7;
inline constexpr double DefaultModelErrorPercent = 0;

// The step response since the last change of the desired point or of the scheme: what the
// figures line and the trace driver's "response" report. Times are simulated seconds from the
// change, distances arm units, torques N m.
struct StepResponse {
    bool started = false;
    int servoType = 0;   // the scheme in force at the change
    double desiredX = 0; // the desired point at the change
    double desiredY = 0;
    double startX = 0; // the effector at the change
    double startY = 0;
    int cycles = 0;                                               // running cycles since the change
    double tenPercent = std::numeric_limits<double>::quiet_NaN(); // first reached, s
    double ninetyPercent = std::numeric_limits<double>::quiet_NaN(); // first reached, s
    double mostProgress = 0; // the largest share of the way along the start-target line
    // s: since then within 2 % of the way of the target; NaN while outside
    double settledSince = std::numeric_limits<double>::quiet_NaN();
    double distance = 0;   // effector to desired point now, arm units
    double peakTorque = 0; // the largest joint torque applied since the change, N m
};

// The dynamics mode: its settings and the motors' state. Off, nothing here is read and the
// servo laws move the joints themselves.
struct DynamicsState {
    bool on = false;
    MotorLaw motorLaw = DefaultMotorLaw;
    double naturalFrequency = DefaultNaturalFrequency; // rad/s, of each joint's closed loop
    double dampingRatio = DefaultDampingRatio;
    // The controller's model's masses (and inertias) are off by this many percent.
    double modelErrorPercent = DefaultModelErrorPercent;
    // The controller's model leaves out the object the gripper holds (its mass at the hand).
    bool modelIgnoresObject = false;

    JointValues speeds{};            // rad/s
    JointValues reference{};         // rad: where the scheme's last step would have put the joints
    JointValues integral{};          // rad s: the PID law's integral of the joint errors
    JointValues torques{};           // N m, as the motors applied them at the last internal step
    std::array<bool, 3> saturated{}; // the joint's torque was at its limit in the last cycle
    StepResponse response;
};

// What moves the joints after a servo law has set their angles, if anything: see
// redrawArm. Null: the joints are where the law put them.
using JointDrive = void (*)(SimulationState& state);

} // namespace servo
