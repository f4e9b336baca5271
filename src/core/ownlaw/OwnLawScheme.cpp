#include "core/ownlaw/OwnLawScheme.h"

#include "core/dynamics/StudentLaw.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/JacobianServos.h"

namespace servo {

void ownLawStep(SimulationState& state, DrawingSurface& surface) {
    const Matrix3 j = taskJacobian(state);
    const Vector3 e = taskError(state);
    Vector3 dq{};
    const bool stepping = state.studentLaw != nullptr && state.studentLaw->jointSteps(state, dq);
    state.singular = 0;
    finishJacobianStep(state, surface, j, e, stepping ? &dq : nullptr);
}

} // namespace servo
