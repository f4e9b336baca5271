#include "FigureChecks.h"

#include "core/figure/EffectorPosition.h"
#include "core/figure/RobotModel.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace servo {

namespace {

constexpr int FingerTipsRow = 45;
constexpr double FingerTipReach = 4;

} // namespace

double worstRigidityDrift(const SimulationState& state) {
    SimulationState builtIn;
    loadBuiltInModel(builtIn);
    // Links by point number: up to the shoulder centre (fixed), the upper arm up to the elbow
    // centre, the forearm up to the wrist centre, the hand after it.
    const int bounds[] = {0, state.shoulderPivot, state.elbowPivot, state.wristPivot,
                          state.pointCount};
    double worst = 0;
    for (int link = 0; link < 4; ++link) {
        for (int a = bounds[link] + 1; a <= bounds[link + 1]; ++a) {
            for (int b = a + 1; b <= bounds[link + 1]; ++b) {
                if (state.partNumber[a] == PartLooseObject ||
                    state.partNumber[b] == PartLooseObject) {
                    continue;
                }
                const double now = std::hypot(state.pointX[a] - state.pointX[b],
                                              state.pointY[a] - state.pointY[b]);
                const double then = std::hypot(builtIn.pointX[a] - builtIn.pointX[b],
                                               builtIn.pointY[a] - builtIn.pointY[b]);
                worst = std::max(worst, std::fabs(now - then));
            }
        }
    }
    return worst;
}

double worstJointDrift(const SimulationState& s) {
    const double a123 = s.shoulderAngle + s.elbowAngle + s.wristAngle;
    const ArmJoints joints = jointPositions(s, s.shoulderAngle, s.elbowAngle, s.wristAngle);
    const ArmPoint effector = effectorPosition(s);
    // The closed finger tips stand FingerTipReach beyond the effector along the hand.
    const ArmPoint tips{effector.x - FingerTipReach * std::sin(a123),
                        effector.y + FingerTipReach * std::cos(a123)};
    const std::pair<int, ArmPoint> expected[] = {{s.shoulderPivot, {0, 0}},
                                                 {s.elbowPivot, joints.elbow},
                                                 {s.wristPivot, joints.wrist},
                                                 {FingerTipsRow, tips}};
    double worst = 0;
    for (const auto& [row, at] : expected) {
        worst = std::max(worst, std::hypot(s.pointX[row] - at.x, s.pointY[row] - at.y));
    }
    return worst;
}

double jointDriftAllowance(const SimulationState& s) {
    const double largestAngle =
        std::max({std::abs(s.shoulderAngle), std::abs(s.elbowAngle), std::abs(s.wristAngle)});
    const double reach = s.upperArmLength + s.forearmLength + s.handLength + FingerTipReach;
    constexpr double RoundingsAllowed = 16;
    return 1e-6 + RoundingsAllowed * std::numeric_limits<double>::epsilon() * largestAngle * reach;
}

bool allFinite(const SimulationState& s) {
    for (double value : {s.targetX,
                         s.targetY,
                         s.desiredX,
                         s.desiredY,
                         s.wristSetting,
                         s.shoulderAngle,
                         s.elbowAngle,
                         s.wristAngle,
                         s.previousShoulderAngle,
                         s.previousElbowAngle,
                         s.previousWristAngle,
                         s.shoulderDelta,
                         s.elbowDelta,
                         s.wristDelta,
                         s.rotationAngle,
                         s.effectorX,
                         s.effectorY,
                         s.handOrientation,
                         s.wristPointX,
                         s.wristPointY,
                         s.reachRadius,
                         s.reachDirection,
                         s.reachRatio,
                         s.elbowSpread,
                         s.xError,
                         s.yError,
                         s.desiredRadius,
                         s.radiusError,
                         s.currentElevation,
                         s.desiredElevation,
                         s.elevationError,
                         s.graspX,
                         s.graspY,
                         s.upperArmLength,
                         s.forearmLength,
                         s.handLength}) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    for (int i = 1; i <= s.pointCount; ++i) {
        if (!std::isfinite(s.pointX[i]) || !std::isfinite(s.pointY[i])) {
            return false;
        }
    }
    return true;
}

} // namespace servo
