#include "core/lab/ErrorHistory.h"

#include "core/dynamics/ArmParameters.h"
#include "core/lab/LabSample.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"
#include "core/state/Geometry.h"

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

// The dynamics mode's signals: the largest joint error (reference less angle, degrees) and the
// fastest joint's speed (rad/s), each with its sign, and the largest torque as a percentage of
// its motor's limit.
SignalValues dynamicsSignalValues(const SimulationState& state) {
    const DynamicsState& dynamics = state.dynamics;
    const JointValues angles{state.shoulderAngle, state.elbowAngle, state.wristAngle};
    SignalValues values{0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        const double error = (dynamics.reference[i] - angles[i]) * DegreesPerRadian;
        if (std::fabs(error) > std::fabs(values[0])) {
            values[0] = error;
        }
        values[1] =
            std::max(values[1], 100 * std::fabs(dynamics.torques[i]) / Arm.links[i].torqueLimitNm);
        if (std::fabs(dynamics.speeds[i]) > std::fabs(values[2])) {
            values[2] = dynamics.speeds[i];
        }
    }
    return values;
}

} // namespace

int signalSetOf(const SimulationState& state) {
    return state.dynamics.on ? DynamicsSignalSet : state.servoType;
}

SignalNames plotSignalNames(int signalSet) {
    if (signalSet == DynamicsSignalSet) {
        return {{N_("largest joint error (degrees)"), N_("largest torque (percent of its limit)"),
                 N_("fastest joint (rad/s)")},
                ""};
    }
    return signalNamesOf(signalSet);
}

std::vector<int> signalSets() {
    std::vector<int> sets;
    for (const ServoScheme& scheme : allSchemes()) {
        sets.push_back(scheme.servoType);
    }
    sets.push_back(DynamicsSignalSet);
    return sets;
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

    const int signalSet = signalSetOf(state);
    ring_[next_] = {distance,
                    signalSet == DynamicsSignalSet ? dynamicsSignalValues(state)
                                                   : signalValuesOf(state, wristScrollPosition),
                    state.servoType,
                    signalSet,
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
