#include "core/lab/ErrorHistory.h"

#include "core/lab/LabSample.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"
#include "core/state/Geometry.h"

#include <cmath>
#include <limits>

namespace servo {

namespace {

constexpr double None = std::numeric_limits<double>::quiet_NaN();

std::array<double, 3> signalsOf(const SimulationState& state, int wristScrollPosition) {
    switch (state.servoType) {
    case ServoForwardXY:
        return {state.xError, state.yError, None};
    case ServoForwardRTheta:
        return {state.radiusError, state.elevationError * DegreesPerRadian, None};
    case ServoReverseKinematic: {
        const ReverseKinematicSolution commanded = solveReverseKinematic(
            goalForTarget(state, wristScrollPosition, state.elbowPair, state.elbowChoice));
        if (!commanded.reachable) {
            return {None, None, None};
        }
        return {(commanded.shoulderAngle - state.shoulderAngle) * DegreesPerRadian,
                (commanded.elbowAngle - state.elbowAngle) * DegreesPerRadian,
                (commanded.wristAngle - state.wristAngle) * DegreesPerRadian};
    }
    case ServoJacobianTranspose:
    case ServoResolvedRate:
    case ServoDampedLeastSquares:
        return {state.manipulabilityValue / ManipulabilityPlotUnit,
                state.largestJointStep * DegreesPerRadian, None};
    default:
        return {None, None, None};
    }
}

} // namespace

SignalNames signalNamesOf(int servoType) {
    switch (servoType) {
    case ServoForwardXY:
        return {{N_("X error"), N_("Y error"), nullptr}, N_("arm units")};
    case ServoForwardRTheta:
        return {{N_("radius error (arm units)"), N_("elevation error (degrees)"), nullptr}, ""};
    case ServoReverseKinematic:
        return {{N_("shoulder error"), N_("elbow error"), N_("wrist error")}, N_("degrees")};
    case ServoJacobianTranspose:
    case ServoResolvedRate:
    case ServoDampedLeastSquares:
        return {{N_("manipulability / 100"), N_("largest joint step (degrees)"), nullptr}, ""};
    default:
        return {{nullptr, nullptr, nullptr}, ""};
    }
}

void ErrorHistory::record(const SimulationState& state, int wristScrollPosition,
                          double raceDistance) {
    const bool change = !any_ || state.targetX != lastTargetX_ || state.targetY != lastTargetY_ ||
                        state.servoType != lastServoType_;
    any_ = true;
    ++version_;
    lastTargetX_ = state.targetX;
    lastTargetY_ = state.targetY;
    lastServoType_ = state.servoType;

    const double distance = sampleOf(state, wristScrollPosition).error;
    if (change) {
        sinceChange_ = 0;
        peak_ = 0;
        settledAt_.reset();
        raceSettledAt_.reset();
    }
    ++sinceChange_;
    if (std::isfinite(distance)) {
        peak_ = std::max(peak_, distance);
    }
    if (distance < SettledWithin) {
        if (!settledAt_) {
            settledAt_ = sinceChange_;
        }
    } else {
        settledAt_.reset(); // also when it is NaN
    }
    racing_ = !std::isnan(raceDistance);
    raceDistance_ = raceDistance;
    if (raceDistance < SettledWithin) {
        if (!raceSettledAt_) {
            raceSettledAt_ = sinceChange_;
        }
    } else {
        raceSettledAt_.reset();
    }

    ring_[next_] = {distance,
                    signalsOf(state, wristScrollPosition),
                    state.servoType,
                    change,
                    raceDistance,
                    ++cycles_,
                    state.targetX,
                    state.targetY,
                    state.shoulderAngle,
                    state.elbowAngle,
                    state.wristAngle};
    next_ = (next_ + 1) % Capacity;
    count_ = std::min(count_ + 1, Capacity);
}

void ErrorHistory::clear() {
    const std::size_t version = version_;
    *this = ErrorHistory{};
    version_ = version + 1;
}

std::vector<ErrorSample> ErrorHistory::samples() const {
    std::vector<ErrorSample> ordered;
    ordered.reserve(count_);
    const std::size_t first = (next_ + Capacity - count_) % Capacity;
    for (std::size_t i = 0; i < count_; ++i) {
        ordered.push_back(ring_[(first + i) % Capacity]);
    }
    return ordered;
}

std::string ErrorHistory::summary() const {
    if (!any_) {
        return tr("No cycles yet");
    }
    const std::string settled =
        settledAt_ ? filled(tr("settled at cycle %s"), {std::to_string(*settledAt_)})
                   : tr("not settled");
    std::string text = filled(tr("Cycles since the change: %s    %s    Peak error: %s arm units"),
                              {std::to_string(sinceChange_), settled, formatFixed(peak_, 2)});
    if (racing_) {
        text += raceSettledAt_
                    ? filled(tr("    race settled at cycle %s"), {std::to_string(*raceSettledAt_)})
                    : filled(tr("    race not settled: %s arm units off"),
                             {formatFixed(raceDistance_, 2)});
    }
    return text;
}

} // namespace servo
