#include "FigureChecks.h"

#include "core/figure/RobotModel.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace servo {

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
