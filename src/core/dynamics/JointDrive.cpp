#include "core/dynamics/JointDrive.h"

#include "core/dynamics/Integrator.h"
#include "core/dynamics/MotorLaws.h"

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

// The law's torques limited to what each motor gives; marks the joints at their limit and
// runs the integral (for a law that keeps one) with clamping.
Vector3 appliedTorques(DynamicsState& dynamics, const MotorLawRow& law, const MotorInput& input) {
    const Vector3 asked = law.torques(input);
    Vector3 applied{};
    for (int i = 0; i < 3; ++i) {
        const double limit = Arm.links[i].torqueLimitNm;
        applied[i] = std::clamp(asked[i], -limit, limit);
        const bool atLimit = std::abs(asked[i]) > limit;
        dynamics.saturated[i] = dynamics.saturated[i] || atLimit;
        const double error = input.reference[i] - input.angles[i];
        if (law.integrates && !(atLimit && error * asked[i] > 0)) {
            dynamics.integral[i] += error * InternalStepSeconds;
        }
        dynamics.response.peakTorque = std::max(dynamics.response.peakTorque, std::abs(applied[i]));
    }
    return applied;
}

} // namespace

void driveJoints(SimulationState& state) {
    DynamicsState& dynamics = state.dynamics;
    const Vector3 reference{state.shoulderAngle, state.elbowAngle, state.wristAngle};
    for (int i = 0; i < 3; ++i) {
        if (std::isfinite(reference[i])) { // else a law gone astray: keep the last reference
            dynamics.reference[i] = reference[i];
        }
    }
    ArmMotion motion{
        {state.previousShoulderAngle, state.previousElbowAngle, state.previousWristAngle},
        dynamics.speeds};
    const MotorLawRow& law = motorLawRow(dynamics.motorLaw);
    ArmParameters model = scaledMasses(Arm, dynamics.modelErrorPercent);
    if (dynamics.modelIgnoresObject) {
        model.objectMassKilograms = 0;
    }
    const JointGains gains = jointGains(Arm, dynamics.naturalFrequency, dynamics.dampingRatio);
    const double stiffness = taskStiffness(Arm, dynamics.naturalFrequency);
    const bool held = state.objectHeld == 1;
    dynamics.saturated = {};
    for (int step = 0; step < InternalStepsPerLabStep; ++step) {
        const MotorInput input{state,
                               model,
                               gains,
                               dynamics.naturalFrequency,
                               dynamics.dampingRatio,
                               stiffness,
                               motion.angles,
                               motion.speeds,
                               dynamics.reference,
                               dynamics.integral};
        dynamics.torques = appliedTorques(dynamics, law, input);
        motion = rungeKuttaStep(Arm, motion, dynamics.torques, held, InternalStepSeconds);
    }
    state.shoulderAngle = motion.angles[0];
    state.elbowAngle = motion.angles[1];
    state.wristAngle = motion.angles[2];
    dynamics.speeds = motion.speeds;
}

void restartMotors(DynamicsState& dynamics) {
    dynamics.speeds = {};
    dynamics.integral = {};
    dynamics.torques = {};
    dynamics.saturated = {};
}

} // namespace servo
