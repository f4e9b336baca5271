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

// How freely the effector can move, as the lab shows it (the manipulability cue's ellipse, its
// w, the Jacobian laws' read-out and plot): M M^T of M, the effector's velocity per joint rate.
// The Jacobian laws servo the hand's angle as well, so for them M is taken with the hand's
// angle held: the wrist turns back by what the shoulder and elbow turn, and the effector moves
// as the wrist point of the two-link arm of shoulder and elbow. M is that arm's 2x2 Jacobian
// and w = |det M| = l1 l2 |sin elbow| = |det J| / l1: flat exactly where those laws' J is
// singular, with the elbow straight or folded (the hand held, a folded arm cannot move its
// effector toward or away from the shoulder). The other schemes servo the point alone: M = Jp.
struct Manipulability {
    double w;     // sqrt(det(M M^T)), arm units squared
    double major; // half axes: the singular values of M, arm units per radian
    double minor;
    double angle; // of the major axis, radians counterclockwise from the x axis
};
Manipulability manipulabilityOf(const Matrix3& jacobian, bool handAngleHeld);

double determinant(const Matrix3& m);
Matrix3 transposed(const Matrix3& m);
Matrix3 product(const Matrix3& a, const Matrix3& b);
Vector3 product(const Matrix3& m, const Vector3& v);
double dot(const Vector3& a, const Vector3& b);
// x with m x = v; false (x untouched) when m is singular or the result is not finite.
bool solve(const Matrix3& m, const Vector3& v, Vector3& x);

} // namespace servo
