#include "core/servo/ArmJacobian.h"

#include "core/figure/EffectorPosition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace servo {

Vector3 taskOf(const SimulationState& state, double shoulderAngle, double elbowAngle,
               double wristAngle) {
    const ArmJoints joints = jointPositions(state, shoulderAngle, elbowAngle, wristAngle);
    return {joints.effector.x, joints.effector.y,
            state.upperArmLength * (shoulderAngle + elbowAngle + wristAngle)};
}

Vector3 taskError(const SimulationState& state) {
    const Vector3 now = taskOf(state, state.shoulderAngle, state.elbowAngle, state.wristAngle);
    const double hand = state.shoulderAngle + state.elbowAngle + state.wristAngle;
    const double turn = std::remainder(state.wristSetting - hand, 2 * std::numbers::pi);
    return {state.desiredX - now[0], state.desiredY - now[1], state.upperArmLength * turn};
}

Matrix3 taskJacobian(const SimulationState& state) {
    return taskJacobian(state, state.shoulderAngle, state.elbowAngle, state.wristAngle);
}

Matrix3 taskJacobian(const SimulationState& state, double shoulderAngle, double elbowAngle,
                     double wristAngle) {
    const double a1 = shoulderAngle;
    const double a12 = a1 + elbowAngle;
    const double a123 = a12 + wristAngle;
    const double l1 = state.upperArmLength;
    const double l2 = state.forearmLength;
    const double l3 = state.handLength;
    // x = -(l1 sin a1 + l2 sin a12 + l3 sin a123), y = l1 cos a1 + l2 cos a12 + l3 cos a123
    const double c3 = l3 * std::cos(a123);
    const double c23 = l2 * std::cos(a12) + c3;
    const double c123 = l1 * std::cos(a1) + c23;
    const double s3 = l3 * std::sin(a123);
    const double s23 = l2 * std::sin(a12) + s3;
    const double s123 = l1 * std::sin(a1) + s23;
    return {{{-c123, -c23, -c3}, {-s123, -s23, -s3}, {l1, l1, l1}}};
}

double manipulability(const Matrix3& j) {
    const double a = dot(j[0], j[0]);
    const double b = dot(j[0], j[1]);
    const double d = dot(j[1], j[1]);
    return std::sqrt(std::max(0.0, a * d - b * b));
}

Manipulability manipulabilityOf(const Matrix3& j, bool handAngleHeld) {
    // The rows of M: the effector's x and y velocity per joint rate.
    std::array<double, 3> x = j[0];
    std::array<double, 3> y = j[1];
    double w = manipulability(j);
    if (handAngleHeld) { // per shoulder and elbow rate, the wrist turning back by both
        x = {j[0][0] - j[0][2], j[0][1] - j[0][2], 0};
        y = {j[1][0] - j[1][2], j[1][1] - j[1][2], 0};
        w = std::abs(x[0] * y[1] - x[1] * y[0]);
    }
    const double a = dot(x, x);
    const double b = dot(x, y);
    const double d = dot(y, y);
    const double mean = (a + d) / 2;
    const double spread = std::hypot((a - d) / 2, b);
    const double major = std::sqrt(mean + spread);
    // The half axes multiply to w; the minor one from w keeps its precision near zero.
    return {w, major, major > 0 ? w / major : 0, 0.5 * std::atan2(2 * b, a - d)};
}

double determinant(const Matrix3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Matrix3 transposed(const Matrix3& m) {
    Matrix3 t{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            t[c][r] = m[r][c];
        }
    }
    return t;
}

Matrix3 product(const Matrix3& a, const Matrix3& b) {
    Matrix3 p{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            p[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    }
    return p;
}

Vector3 product(const Matrix3& m, const Vector3& v) {
    return {dot(m[0], v), dot(m[1], v), dot(m[2], v)};
}

double dot(const Vector3& a, const Vector3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

bool solve(const Matrix3& m, const Vector3& v, Vector3& x) {
    const double det = determinant(m);
    if (det == 0 || !std::isfinite(det)) {
        return false;
    }
    Vector3 result{};
    for (std::size_t column = 0; column < 3; ++column) { // Cramer's rule
        Matrix3 replaced = m;
        for (std::size_t r = 0; r < 3; ++r) {
            replaced[r][column] = v[r];
        }
        result[column] = determinant(replaced) / det;
    }
    for (const double value : result) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    x = result;
    return true;
}

} // namespace servo
