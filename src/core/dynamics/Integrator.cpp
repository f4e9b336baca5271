#include "core/dynamics/Integrator.h"

#include "core/dynamics/ArmDynamics.h"

namespace servo {

namespace {

// The state's rate of change: (speeds, accelerations).
ArmMotion rateOf(const ArmParameters& arm, const ArmMotion& motion, const Vector3& torques,
                 bool objectHeld) {
    return {motion.speeds, forwardDynamics(arm, motion.angles, motion.speeds, torques, objectHeld)};
}

// motion + rate * seconds
ArmMotion advanced(const ArmMotion& motion, const ArmMotion& rate, double seconds) {
    ArmMotion result = motion;
    for (int i = 0; i < 3; ++i) {
        result.angles[i] += rate.angles[i] * seconds;
        result.speeds[i] += rate.speeds[i] * seconds;
    }
    return result;
}

} // namespace

ArmMotion rungeKuttaStep(const ArmParameters& arm, const ArmMotion& motion, const Vector3& torques,
                         bool objectHeld, double seconds) {
    const ArmMotion k1 = rateOf(arm, motion, torques, objectHeld);
    const ArmMotion k2 = rateOf(arm, advanced(motion, k1, seconds / 2), torques, objectHeld);
    const ArmMotion k3 = rateOf(arm, advanced(motion, k2, seconds / 2), torques, objectHeld);
    const ArmMotion k4 = rateOf(arm, advanced(motion, k3, seconds), torques, objectHeld);
    ArmMotion result = motion;
    for (int i = 0; i < 3; ++i) {
        result.angles[i] +=
            seconds / 6 * (k1.angles[i] + 2 * k2.angles[i] + 2 * k3.angles[i] + k4.angles[i]);
        result.speeds[i] +=
            seconds / 6 * (k1.speeds[i] + 2 * k2.speeds[i] + 2 * k3.speeds[i] + k4.speeds[i]);
    }
    return result;
}

} // namespace servo
