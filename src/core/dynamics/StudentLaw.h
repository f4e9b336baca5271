#pragma once

#include "core/dynamics/MotorLaws.h"
#include "core/state/SimulationState.h"

namespace servo {

// A law the student writes (see core/ownlaw): the scheme "Your law" asks it for each lab step's
// joint steps, the motor law "Your torque law" for each internal step's torques. Either answer
// is refused (false) while the law is stopped, and a call that fails stops it: the caller then
// holds the arm.
class StudentLaw {
public:
    // The joint steps of one lab step, radians (with dynamics on, the reference's steps).
    virtual bool jointSteps(const SimulationState& state, Vector3& steps) = 0;
    // The joint torques at one internal step, N m, before the motors' limits.
    virtual bool jointTorques(const MotorInput& input, Vector3& torques) = 0;

protected:
    ~StudentLaw() = default;
};

} // namespace servo
