#include "core/servo/JacobianServos.h"

#include "core/figure/ArmRenderer.h"
#include "core/figure/EffectorPosition.h"
#include "core/language/Translation.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ErrorFormat.h"

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

constexpr double StepShare = 0.2; // of the remaining way, each cycle
constexpr int NewtonCorrections = 2;

// The read-outs of this cycle's start, then the step (if any), the path point and the redraw.
void finishStep(SimulationState& state, DrawingSurface& surface, const Matrix3& jacobian,
                const Vector3& e, const Vector3* step) {
    const ArmPoint effector = effectorPosition(state);
    state.effectorX = effector.x;
    state.effectorY = effector.y;
    state.distanceError = std::hypot(e[0], e[1]);
    state.manipulabilityValue = manipulability(jacobian);
    state.largestJointStep = 0;
    if (step != nullptr &&
        std::all_of(step->begin(), step->end(), [](double d) { return std::isfinite(d); })) {
        const Vector3& dq = *step;
        state.shoulderAngle += dq[0];
        state.elbowAngle += dq[1];
        state.wristAngle += dq[2];
        state.largestJointStep = std::max({std::abs(dq[0]), std::abs(dq[1]), std::abs(dq[2])});
    }

    surface.setTextPosition(230, 110);
    surface.print(tr("DISTANCE ERROR=") + formatErrorReadout(state.distanceError));
    surface.setTextPosition(330, 110);
    surface.print(state.singular == 1
                      ? std::string(tr("SINGULAR"))
                      : tr("MANIPULABILITY=") + formatErrorReadout(state.manipulabilityValue));

    const SurfacePoint path = armToSurface(state.effectorX, state.effectorY);
    surface.plotPoint(path.x, path.y);
    redrawArm(state, surface);
}

Vector3 scaled(const Vector3& v, double factor) {
    return {v[0] * factor, v[1] * factor, v[2] * factor};
}

} // namespace

void jacobianTransposeStep(SimulationState& state, DrawingSurface& surface) {
    const Matrix3 j = taskJacobian(state);
    const Vector3 e = taskError(state);
    const Vector3 g = product(transposed(j), e);
    const Vector3 jg = product(j, g);
    const double length = dot(jg, jg);
    const double a = length > 0 ? dot(e, jg) / length : 0;
    state.singular = 0;
    const Vector3 dq = scaled(g, a * state.gain);
    finishStep(state, surface, j, e, &dq);
}

void resolvedRateStep(SimulationState& state, DrawingSurface& surface) {
    const Matrix3 j = taskJacobian(state);
    const Vector3 e = taskError(state);
    const double largest = state.upperArmLength * state.upperArmLength * state.forearmLength;
    Vector3 x{};
    state.singular = std::abs(determinant(j)) < SingularShare * largest || !solve(j, e, x) ? 1 : 0;
    Vector3 dq = scaled(x, StepShare * state.gain);
    if (state.singular == 0) {
        // The first-order step lands off the line where the arm's geometry curves; Newton
        // corrections at the stepped pose bring the hand to the point a fifth of the way on.
        const double q1 = state.shoulderAngle;
        const double q2 = state.elbowAngle;
        const double q3 = state.wristAngle;
        const Vector3 now = taskOf(state, q1, q2, q3);
        const Vector3 goal{now[0] + StepShare * state.gain * e[0],
                           now[1] + StepShare * state.gain * e[1],
                           now[2] + StepShare * state.gain * e[2]};
        for (int round = 0; round < NewtonCorrections; ++round) {
            const Vector3 reached = taskOf(state, q1 + dq[0], q2 + dq[1], q3 + dq[2]);
            const Vector3 miss{goal[0] - reached[0], goal[1] - reached[1], goal[2] - reached[2]};
            Vector3 correction{};
            if (!solve(taskJacobian(state, q1 + dq[0], q2 + dq[1], q3 + dq[2]), miss, correction)) {
                break;
            }
            for (std::size_t i = 0; i < 3; ++i) {
                dq[i] += correction[i];
            }
        }
    }
    finishStep(state, surface, j, e, state.singular == 1 ? nullptr : &dq);
}

void dampedLeastSquaresStep(SimulationState& state, DrawingSurface& surface) {
    const Matrix3 j = taskJacobian(state);
    const Vector3 e = taskError(state);
    const double lambda = std::clamp(state.dampingLambda, 0.0, MaxDampingLambda);
    Matrix3 damped = product(j, transposed(j));
    for (std::size_t i = 0; i < 3; ++i) {
        damped[i][i] += lambda * lambda;
    }
    Vector3 y{};
    state.singular = solve(damped, e, y) ? 0 : 1;
    const Vector3 dq = scaled(product(transposed(j), y), StepShare * state.gain);
    finishStep(state, surface, j, e, state.singular == 1 ? nullptr : &dq);
}

} // namespace servo
