#include "core/access/Announcer.h"

#include "core/lab/LabSample.h"
#include "core/servo/ErrorFormat.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace servo {

namespace {

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::fabs(value) < 0.05 ? 0.0 : value);
    return text;
}

std::string schemeName(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    return scheme != nullptr ? scheme->caption : "no";
}

// The target as an arm point, one decimal: "x 25.0, y -20.0".
std::string targetWords(const SimulationState& state) {
    return "x " + oneDecimal((state.targetX - ShoulderX) / WindowUnitsPerArmUnitX) + ", y " +
           oneDecimal(ShoulderY - state.targetY);
}

std::string degrees(double radians) {
    return oneDecimal(radians * DegreesPerRadian) + " degrees";
}

} // namespace

Announcer::Seen Announcer::look(const Lab& lab) {
    const SimulationState& state = lab.simulation().state();
    const LabSample sample = sampleOf(state, lab.simulation().panel().wristScrollPosition());
    const ErrorHistory& history = lab.history();
    const bool reverseKinematic = state.servoType == ServoReverseKinematic;
    return {state.servoType,
            state.targetX,
            state.targetY,
            sample.error <= ErrorHistory::SettledWithin,
            reverseKinematic && !sample.reachable,
            !history.settledAt() && history.cyclesSinceChange() >= HuntingAfterSteps,
            state.runState,
            state.objectHeld,
            state.gain};
}

std::optional<std::string> Announcer::afterFrame(const Lab& lab, double nowSeconds,
                                                 const std::string& news) {
    const Seen now = look(lab);
    if (seen_) {
        const Seen& was = *seen_;
        const SimulationState& state = lab.simulation().state();
        std::vector<std::string> parts; // this frame's changes, in the order they are told
        if (!news.empty()) {
            parts.push_back(news);
        }
        if (now.servoType != was.servoType) {
            parts.push_back(schemeName(now.servoType) + " scheme");
        }
        const bool targetMoved = now.targetX != was.targetX || now.targetY != was.targetY;
        if (targetMoved) {
            parts.push_back("Target at " + targetWords(state));
        }
        if (now.runState != was.runState && now.runState != RunEnd) {
            parts.emplace_back(now.runState == RunStopped ? "Stopped" : "Running");
        }
        if (now.objectHeld != was.objectHeld) {
            parts.emplace_back(now.objectHeld != 0 ? "The gripper holds the object"
                                                   : "The object is dropped");
        }
        if (now.gain != was.gain) {
            parts.push_back("Gain " + oneDecimal(now.gain));
        }
        if (now.outOfReach && (targetMoved || !was.outOfReach)) {
            parts.emplace_back("Out of reach");
        } else if (now.reached && !was.reached) {
            parts.emplace_back("Target reached");
        }
        if (now.hunting && !was.hunting) {
            parts.push_back("Still moving: the " + schemeName(now.servoType) +
                            " scheme is hunting");
        }
        if (!parts.empty()) {
            std::string change;
            for (const std::string& part : parts) {
                change += (change.empty() ? "" : ". ") + part;
            }
            pending_ = change; // the last change wins
        }
    }
    seen_ = now;
    if (pending_.empty() || (lastSpoken_ && nowSeconds - *lastSpoken_ < MinimumGapSeconds)) {
        return std::nullopt;
    }
    lastSpoken_ = nowSeconds;
    std::string spoken;
    spoken.swap(pending_);
    return spoken;
}

std::string Announcer::summary(const Lab& lab) {
    const Seen now = look(lab);
    const SimulationState& state = lab.simulation().state();
    return "Robot arm, " + schemeName(now.servoType) + " scheme, target at " + targetWords(state) +
           (now.outOfReach ? ", out of reach"
            : now.reached  ? ", reached"
                           : ", moving");
}

std::string Announcer::wholeState(const Lab& lab) {
    const Simulation& simulation = lab.simulation();
    const SimulationState& state = simulation.state();
    const LabSample sample = sampleOf(state, simulation.panel().wristScrollPosition());
    std::string text = schemeName(state.servoType) + " scheme. Shoulder " +
                       degrees(state.shoulderAngle) + ", elbow " + degrees(state.elbowAngle) +
                       ", wrist " + degrees(state.wristAngle) + ". Effector at x " +
                       oneDecimal(sample.effector.x) + ", y " + oneDecimal(sample.effector.y) +
                       "; target at " + targetWords(state) + ", distance " +
                       oneDecimal(sample.error) + ".";
    if (state.servoType == ServoForwardXY || state.servoType == ServoForwardRTheta) {
        const bool xy = state.servoType == ServoForwardXY;
        text += xy ? " X error " + formatFixed(state.xError, 2) + ", Y error " +
                         formatFixed(state.yError, 2) + "."
                   : " Radius error " + formatFixed(state.radiusError, 2) + ", elevation error " +
                         degrees(state.elevationError) + ".";
    }
    if (state.servoType >= ServoJacobianTranspose) {
        text += state.singular == 1
                    ? " Singular: no step."
                    : " Manipulability " + formatFixed(state.manipulabilityValue, 2) + ".";
    }
    text += state.runState == RunStopped ? " Stopped." : " Running.";
    text += state.gripperClosed != 0
                ? (state.objectHeld != 0 ? " Gripper closed on the object." : " Gripper closed.")
                : " Gripper open.";
    return text;
}

} // namespace servo
