#include "core/access/Announcer.h"

#include "core/language/Translation.h"

#include "core/lab/LabSample.h"
#include "core/servo/ErrorFormat.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace servo {

namespace {

std::string schemeName(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    return scheme != nullptr ? tr(scheme->caption) : tr("no");
}

// The target as an arm point, one decimal: "x 25.0, y -20.0".
std::string targetWords(const SimulationState& state) {
    return filled(tr("x %s, y %s"),
                  {formatOneDecimal((state.targetX - ShoulderX) / WindowUnitsPerArmUnitX),
                   formatOneDecimal(ShoulderY - state.targetY)});
}

// A joint angle as a person reads it: in (-180, 180] degrees as told, one decimal, whatever
// whole turns the state's unwrapped angle holds.
std::string jointDegrees(double radians) {
    double told = std::round(std::remainder(radians * DegreesPerRadian, 360.0) * 10) / 10;
    if (told <= -180) {
        told += 360;
    }
    return filled(tr("%s degrees"), {formatOneDecimal(told)});
}

// Counts the turns of a series from growing to shrinking or back, each by more than `swing`.
class Turns {
public:
    explicit Turns(double swing) : swing_(swing) {}
    void add(double value) {
        if (!started_) {
            started_ = true;
            extreme_ = value;
            return;
        }
        const double move = value - extreme_;
        if (direction_ * move > 0) {
            extreme_ = value; // further the same way
        } else if (std::fabs(move) > swing_) {
            turns_ += direction_ != 0 ? 1 : 0; // the first swing sets the way, turns none
            direction_ = move > 0 ? 1 : -1;
            extreme_ = value;
        }
    }
    int turns() const { return turns_; }

private:
    double swing_;
    bool started_ = false;
    int direction_ = 0; // 1 growing, -1 shrinking, 0 not yet known
    double extreme_ = 0;
    int turns_ = 0;
};

} // namespace

Announcer::Seen Announcer::look(const Lab& lab) {
    const SimulationState& state = lab.simulation().state();
    const LabSample sample = sampleOf(state, lab.simulation().controls().wristScrollPosition());
    return {state.servoType,
            state.targetX,
            state.targetY,
            isReached(sample),
            isOutOfReach(state, sample),
            hunting(lab),
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
        // The target's place with the outcome, so that the latest change, which wins, still
        // says where the target is.
        const bool targetMoved = now.targetX != was.targetX || now.targetY != was.targetY;
        const char* target = nullptr;
        if (now.outOfReach && (targetMoved || !was.outOfReach)) {
            target = N_("Target at %s: out of reach");
        } else if (now.reached && (targetMoved || !was.reached)) {
            target = N_("Target at %s: reached");
        } else if (targetMoved) {
            target = N_("Target at %s");
        }
        if (target != nullptr) {
            parts.push_back(filled(tr(target), {targetWords(state)}));
        }
        if (now.runState != was.runState && now.runState != RunEnd) {
            parts.emplace_back(now.runState == RunStopped ? tr("Stopped") : tr("Running"));
        }
        if (now.objectHeld != was.objectHeld) {
            parts.emplace_back(now.objectHeld != 0 ? tr("The gripper holds the object")
                                                   : tr("The object is dropped"));
        }
        if (now.gain != was.gain) {
            parts.push_back(filled(tr("Gain %s"), {formatOneDecimal(now.gain)}));
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

bool Announcer::hunting(const Lab& lab) {
    const std::vector<ErrorSample> samples = lab.history().samples();
    if (samples.size() < HuntingWindow ||
        !(samples.back().distance >= ErrorHistory::SettledWithin)) {
        return false; // too few cycles, settled, or no distance
    }
    const std::size_t first = samples.size() - HuntingWindow;
    Turns turns(HuntingSwing);
    std::array<double, 2> peaks{0, 0}; // the earlier and the later half's
    for (std::size_t i = first; i < samples.size(); ++i) {
        const double distance = samples[i].distance;
        if ((i > first && samples[i].change) || !(distance >= ErrorHistory::SettledWithin)) {
            return false; // the target or the scheme changed, or the arm settled, meanwhile
        }
        turns.add(distance);
        double& peak = peaks[(i - first) * 2 / HuntingWindow];
        peak = std::max(peak, distance);
    }
    return turns.turns() >= HuntingTurns && peaks[1] >= HuntingKeepsPeak * peaks[0];
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
    const LabSample sample = sampleOf(state, simulation.controls().wristScrollPosition());
    std::string text =
        filled(tr("%s scheme. Shoulder %s, elbow %s, wrist %s. Effector at x %s, y %s; target at "
                  "%s, distance %s."),
               {schemeName(state.servoType), jointDegrees(state.shoulderAngle),
                jointDegrees(state.elbowAngle), jointDegrees(state.wristAngle),
                formatOneDecimal(sample.effector.x), formatOneDecimal(sample.effector.y),
                targetWords(state), formatOneDecimal(sample.error)});
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    if (scheme != nullptr && scheme->readOut != nullptr) {
        text += scheme->readOut(state);
    }
    text += state.runState == RunStopped ? tr(" Stopped.") : tr(" Running.");
    text += state.gripperClosed != 0 ? (state.objectHeld != 0 ? tr(" Gripper closed on the object.")
                                                              : tr(" Gripper closed."))
                                     : tr(" Gripper open.");
    return text;
}

} // namespace servo
