#pragma once

#include "core/dynamics/ArmParameters.h"
#include "core/servo/ArmJacobian.h"
#include "core/state/SimulationState.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace servo {

// Each joint's gains, from the tuning: the closed loop of a joint of inertia I with
// Kp = I wn^2 and Kd = 2 zeta wn I has natural frequency wn and damping ratio zeta; the PID
// law's Ki = Kp wn / 5 (an integral time of 5 / wn, slow beside the loop, and stable for any
// damping ratio above 0.1).
struct JointGains {
    Vector3 kp; // N m/rad
    Vector3 kd; // N m s/rad
    Vector3 ki; // N m/(rad s)
};
inline constexpr double IntegralTimeTimesFrequency = 5;

// The inertia each joint is tuned for: the mass matrix's diagonal with the arm stretched
// straight and the object held, the most each joint ever moves, kg m^2.
Vector3 tuningInertias(const ArmParameters& arm);
JointGains jointGains(const ArmParameters& arm, double naturalFrequency, double dampingRatio);
// The Jacobian transpose law's spring at the hand: the arm's whole mass times wn^2, N/m.
double taskStiffness(const ArmParameters& arm, double naturalFrequency);

// What a motor law sees at one internal step.
struct MotorInput {
    const SimulationState& state; // the desired point and wrist setting, the object held
    const ArmParameters& model;   // the controller's model of the arm (see model error)
    const JointGains& gains;
    double naturalFrequency; // rad/s
    double dampingRatio;
    double taskStiffness;     // N/m
    const Vector3& angles;    // rad
    const Vector3& speeds;    // rad/s
    const Vector3& reference; // rad
    const Vector3& integral;  // rad s
};

// One motor law: its word for scripts and experiments, its caption, its explanation (lines
// ended by '\n', marked for the catalogue) and the torques it asks for, N m, before the
// motors' limits.
struct MotorLawRow {
    MotorLaw law;
    const char* word;
    const char* caption;
    const char* explanation;
    Vector3 (*torques)(const MotorInput& input);
    bool integrates; // it keeps the integral of the joint errors
};

// The gains a law uses with a tuning, as the lab panel shows them (in the language chosen):
// each joint's Kp, Kd and Ki in N m/rad, N m s/rad and N m/(rad s), the Jacobian transpose
// law's spring at the hand in N/m, computed torque's gains per unit of the model's inertia.
std::string gainsText(MotorLaw law, double naturalFrequency, double dampingRatio);

// Every motor law, in the order of MotorLaw.
std::span<const MotorLawRow> motorLaws();
const MotorLawRow& motorLawRow(MotorLaw law);
std::optional<MotorLaw> motorLawNamed(std::string_view word);
// The laws' words, separated by commas: "none, p, pd, ...".
std::string motorLawWords();

} // namespace servo
