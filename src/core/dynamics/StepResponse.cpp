#include "core/dynamics/StepResponse.h"

#include "core/dynamics/Integrator.h"
#include "core/figure/EffectorPosition.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace servo {

namespace {

constexpr double RiseFrom = 0.1;       // of the way
constexpr double RiseTo = 0.9;         // of the way
constexpr double SettledWithin = 0.02; // of the way

double way(const StepResponse& r) {
    return std::hypot(r.desiredX - r.startX, r.desiredY - r.startY);
}

} // namespace

void responseBeforeStep(SimulationState& state) {
    StepResponse& r = state.dynamics.response;
    if (r.started && r.desiredX == state.desiredX && r.desiredY == state.desiredY &&
        r.servoType == state.servoType) {
        return;
    }
    const ArmPoint effector = effectorPosition(state);
    r = StepResponse{};
    r.started = true;
    r.servoType = state.servoType;
    r.desiredX = state.desiredX;
    r.desiredY = state.desiredY;
    r.startX = effector.x;
    r.startY = effector.y;
    r.distance = way(r);
}

void responseAfterStep(SimulationState& state) {
    StepResponse& r = state.dynamics.response;
    const ArmPoint effector = effectorPosition(state);
    ++r.cycles;
    const double seconds = r.cycles * LabStepSeconds;
    const double length = way(r);
    r.distance = std::hypot(r.desiredX - effector.x, r.desiredY - effector.y);
    const double progress = length > 0 ? ((effector.x - r.startX) * (r.desiredX - r.startX) +
                                          (effector.y - r.startY) * (r.desiredY - r.startY)) /
                                             (length * length)
                                       : 1;
    r.mostProgress = std::max(r.mostProgress, progress);
    if (std::isnan(r.tenPercent) && progress >= RiseFrom) {
        r.tenPercent = seconds;
    }
    if (std::isnan(r.ninetyPercent) && progress >= RiseTo) {
        r.ninetyPercent = seconds;
    }
    if (r.distance > SettledWithin * length) {
        r.settledSince = std::numeric_limits<double>::quiet_NaN();
    } else if (std::isnan(r.settledSince)) {
        r.settledSince = seconds;
    }
}

ResponseFigures responseFigures(const StepResponse& r) {
    if (!r.started) {
        constexpr double None = std::numeric_limits<double>::quiet_NaN();
        return {None, None, None, None, None};
    }
    return {r.ninetyPercent - r.tenPercent, std::max(0.0, r.mostProgress - 1) * 100, r.settledSince,
            r.distance, r.peakTorque};
}

} // namespace servo
