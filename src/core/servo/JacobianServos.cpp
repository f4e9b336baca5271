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
// Resolved rate's Newton corrections: at most this many a step, each kept only while it at
// least halves the miss (so only where they converge) and keeps every joint within
// MaxJointStep; the step counts as on the line when the miss is below OnTheLine.
constexpr int NewtonCorrections = 3;
constexpr double Converging = 0.5;
constexpr double OnTheLine = 1e-3;     // arm units
constexpr double ExactlyThere = 1e-12; // arm units: no correction left to make
// Where the corrections do not converge the step is halved, at most this many times.
constexpr int Shortenings = 6;

} // namespace

void finishJacobianStep(SimulationState& state, DrawingSurface& surface, const Matrix3& jacobian,
                        const Vector3& e, const Vector3* step) {
    const ArmPoint effector = effectorPosition(state);
    state.effectorX = effector.x;
    state.effectorY = effector.y;
    state.distanceError = std::hypot(e[0], e[1]);
    state.manipulabilityValue = manipulabilityOf(jacobian, true).w;
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

namespace {

Vector3 scaled(const Vector3& v, double factor) {
    return {v[0] * factor, v[1] * factor, v[2] * factor};
}

Vector3 sum(const Vector3& a, const Vector3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

double largestOf(const Vector3& v) {
    return std::max({std::abs(v[0]), std::abs(v[1]), std::abs(v[2])});
}

// Where the task falls short of `goal` after the joints at q turn by dq.
Vector3 missOf(const SimulationState& state, const Vector3& q, const Vector3& dq,
               const Vector3& goal) {
    const Vector3 reached = taskOf(state, q[0] + dq[0], q[1] + dq[1], q[2] + dq[2]);
    return {goal[0] - reached[0], goal[1] - reached[1], goal[2] - reached[2]};
}

struct Correction {
    Vector3 dq;
    bool onTheLine; // the task reaches the goal within OnTheLine
};

// The first-order step dq toward `goal`, corrected by Newton steps at the stepped pose while
// they converge.
Correction corrected(const SimulationState& state, const Vector3& q, Vector3 dq,
                     const Vector3& goal) {
    Vector3 miss = missOf(state, q, dq, goal);
    double length = std::sqrt(dot(miss, miss));
    for (int round = 0; round < NewtonCorrections && length > ExactlyThere; ++round) {
        Vector3 correction{};
        if (!solve(taskJacobian(state, q[0] + dq[0], q[1] + dq[1], q[2] + dq[2]), miss,
                   correction)) {
            break;
        }
        const Vector3 next = sum(dq, correction);
        const Vector3 nextMiss = missOf(state, q, next, goal);
        const double nextLength = std::sqrt(dot(nextMiss, nextMiss));
        if (largestOf(next) > MaxJointStep || !(nextLength <= Converging * length)) {
            break;
        }
        dq = next;
        miss = nextMiss;
        length = nextLength;
    }
    return {dq, length <= OnTheLine};
}

bool singularFor(const SimulationState& state, const Matrix3& j) {
    const double largest = state.upperArmLength * state.upperArmLength * state.forearmLength;
    return std::abs(determinant(j)) < SingularShare * largest;
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
    finishJacobianStep(state, surface, j, e, &dq);
}

void resolvedRateStep(SimulationState& state, DrawingSurface& surface) {
    const Matrix3 j = taskJacobian(state);
    const Vector3 e = taskError(state);
    Vector3 x{};
    state.singular = singularFor(state, j) || !solve(j, e, x) ? 1 : 0;
    if (state.singular == 1) {
        finishJacobianStep(state, surface, j, e, nullptr);
        return;
    }
    const Vector3 q{state.shoulderAngle, state.elbowAngle, state.wristAngle};
    const Vector3 now = taskOf(state, q[0], q[1], q[2]);
    // A fifth of the way (times the gain), shortened along the same line so that, to first
    // order, no joint turns more than MaxJointStep.
    double share = StepShare * state.gain;
    const double firstOrder = largestOf(scaled(x, share));
    if (firstOrder > MaxJointStep) {
        share *= MaxJointStep / firstOrder;
    }
    Correction step{};
    for (int shortening = 0; shortening <= Shortenings; ++shortening, share /= 2) {
        const Vector3 goal{now[0] + share * e[0], now[1] + share * e[1], now[2] + share * e[2]};
        step = corrected(state, q, scaled(x, share), goal);
        if (step.onTheLine) {
            break;
        }
    }
    finishJacobianStep(state, surface, j, e, &step.dq);
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
    finishJacobianStep(state, surface, j, e, state.singular == 1 ? nullptr : &dq);
}

} // namespace servo
