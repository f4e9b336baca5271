#pragma once

#include "core/state/SimulationState.h"

#include <array>

namespace servo {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<Vector3, 3>; // rows

// The task the Jacobian laws servo: the effector point (x, y) in arm units and the hand's
// absolute angle (shoulder + elbow + wrist) weighted by the upper arm's length, so that all
// three are arm units.
Vector3 taskOf(const SimulationState& state, double shoulderAngle, double elbowAngle,
               double wristAngle);
// Desired minus current task, from the state's desired point, wrist setting and joint angles;
// the angle's part is wrapped to within half a turn.
Vector3 taskError(const SimulationState& state);
// d task / d (shoulder, elbow, wrist) at the state's joint angles, or at the given ones.
Matrix3 taskJacobian(const SimulationState& state);
Matrix3 taskJacobian(const SimulationState& state, double shoulderAngle, double elbowAngle,
                     double wristAngle);

// sqrt(det(Jp Jp^T)) of the position rows Jp: how freely the effector can move (arm units
// squared); 0 with the arm stretched or folded flat.
double manipulability(const Matrix3& jacobian);

double determinant(const Matrix3& m);
Matrix3 transposed(const Matrix3& m);
Matrix3 product(const Matrix3& a, const Matrix3& b);
Vector3 product(const Matrix3& m, const Vector3& v);
double dot(const Vector3& a, const Vector3& b);
// x with m x = v; false (x untouched) when m is singular or the result is not finite.
bool solve(const Matrix3& m, const Vector3& v, Vector3& x);

} // namespace servo
