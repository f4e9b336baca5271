#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/servo/ArmJacobian.h"
#include "core/state/SimulationState.h"

namespace servo {

// The lab's three Jacobian laws. Each cycle works out the task error e (see ArmJacobian.h)
// and its Jacobian J at the present pose, turns the joints by dq, prints "DISTANCE ERROR=" and
// "MANIPULABILITY=" (or "SINGULAR") under the arm, plots the effector and redraws the arm. A
// step that would not be finite is not made.

// dq = a G J^T e, with a = (e . J J^T e) / |J J^T e|^2: the step along J^T e that, to first
// order, brings the task closest to the desired one, so that at G = 1 no step overshoots.
void jacobianTransposeStep(SimulationState& state, DrawingSurface& surface);

// dq = 0.2 G J^-1 e: the effector goes a fifth of the remaining way each cycle, on a straight
// line (Newton corrections at the stepped pose take out the curvature of the arm's geometry,
// each kept only where it converges). No joint turns more than MaxJointStep in a step: where
// a fifth of the way needs more, or the corrections do not converge, the effector goes a
// shorter way along the same line. Where |det J| (J singular with the elbow straight or
// folded) falls below SingularShare of its largest value the law makes no step.
void resolvedRateStep(SimulationState& state, DrawingSurface& surface);
inline constexpr double SingularShare = 0.02;
inline constexpr double MaxJointStep = 0.25; // radians, about 14 degrees

// dq = 0.2 G J^T (J J^T + lambda^2 I)^-1 e, lambda the state's dampingLambda: resolved rate
// far from a singularity, a short gradient step near one.
void dampedLeastSquaresStep(SimulationState& state, DrawingSurface& surface);
inline constexpr double MaxDampingLambda = 50; // arm units

// The end of a Jacobian scheme's step: the read-outs of the cycle's start (from its J and e),
// then the joint step (none for a null or a not finite one), the path point and the redraw.
void finishJacobianStep(SimulationState& state, DrawingSurface& surface, const Matrix3& jacobian,
                        const Vector3& e, const Vector3* step);

} // namespace servo
