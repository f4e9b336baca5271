#include "core/access/Announcer.h"

#include "core/language/Translation.h"

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
    return scheme != nullptr ? tr(scheme->caption) : tr("no");
}

// The target as an arm point, one decimal: "x 25.0, y -20.0".
std::string targetWords(const SimulationState& state) {
    return filled(tr("x %s, y %s"),
                  {oneDecimal((state.targetX - ShoulderX) / WindowUnitsPerArmUnitX),
                   oneDecimal(ShoulderY - state.targetY)});
}

std::string degrees(double radians) {
    return filled(tr("%s degrees"), {oneDecimal(radians * DegreesPerRadian)});
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
            parts.push_back(filled(tr("%s scheme"), {schemeName(now.servoType)}));
        }
        const bool targetMoved = now.targetX != was.targetX || now.targetY != was.targetY;
        if (targetMoved) {
            parts.push_back(filled(tr("Target at %s"), {targetWords(state)}));
        }
        if (now.runState != was.runState && now.runState != RunEnd) {
            parts.emplace_back(now.runState == RunStopped ? tr("Stopped") : tr("Running"));
        }
        if (now.objectHeld != was.objectHeld) {
            parts.emplace_back(now.objectHeld != 0 ? tr("The gripper holds the object")
                                                   : tr("The object is dropped"));
        }
        if (now.gain != was.gain) {
            parts.push_back(filled(tr("Gain %s"), {oneDecimal(now.gain)}));
        }
        if (now.outOfReach && (targetMoved || !was.outOfReach)) {
            parts.emplace_back(tr("Out of reach"));
        } else if (now.reached && !was.reached) {
            parts.emplace_back(tr("Target reached"));
        }
        if (now.hunting && !was.hunting) {
            parts.push_back(
                filled(tr("Still moving: the %s scheme is hunting"), {schemeName(now.servoType)}));
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
    const char* pattern = now.outOfReach ? N_("Robot arm, %s scheme, target at %s, out of reach")
                          : now.reached  ? N_("Robot arm, %s scheme, target at %s, reached")
                                         : N_("Robot arm, %s scheme, target at %s, moving");
    return filled(tr(pattern), {schemeName(now.servoType), targetWords(state)});
}

std::string Announcer::wholeState(const Lab& lab) {
    const Simulation& simulation = lab.simulation();
    const SimulationState& state = simulation.state();
    const LabSample sample = sampleOf(state, simulation.panel().wristScrollPosition());
    std::string text =
        filled(tr("%s scheme. Shoulder %s, elbow %s, wrist %s. Effector at x %s, y %s; target at "
                  "%s, distance %s."),
               {schemeName(state.servoType), degrees(state.shoulderAngle),
                degrees(state.elbowAngle), degrees(state.wristAngle), oneDecimal(sample.effector.x),
                oneDecimal(sample.effector.y), targetWords(state), oneDecimal(sample.error)});
    if (state.servoType == ServoForwardXY || state.servoType == ServoForwardRTheta) {
        const bool xy = state.servoType == ServoForwardXY;
        text += xy ? filled(tr(" X error %s, Y error %s."),
                            {formatFixed(state.xError, 2), formatFixed(state.yError, 2)})
                   : filled(tr(" Radius error %s, elevation error %s."),
                            {formatFixed(state.radiusError, 2), degrees(state.elevationError)});
    }
    if (state.servoType >= ServoJacobianTranspose) {
        text += state.singular == 1 ? tr(" Singular: no step.")
                                    : filled(tr(" Manipulability %s."),
                                             {formatFixed(state.manipulabilityValue, 2)});
    }
    text += state.runState == RunStopped ? tr(" Stopped.") : tr(" Running.");
    text += state.gripperClosed != 0 ? (state.objectHeld != 0 ? tr(" Gripper closed on the object.")
                                                              : tr(" Gripper closed."))
                                     : tr(" Gripper open.");
    return text;
}

} // namespace servo
