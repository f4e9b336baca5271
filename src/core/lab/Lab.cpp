#include "core/lab/Lab.h"

#include "core/dynamics/StepResponse.h"
#include "core/language/Translation.h"
#include "core/ownlaw/ExampleLaws.h"
#include "core/servo/ArmJacobian.h"
#include "core/servo/ErrorFormat.h"
#include "core/simulation/ServoSchemes.h"
#include "core/simulation/StartUp.h"

#include <algorithm>
#include <cmath>

namespace servo {

const std::string& startUpLawSource() {
    static const std::string source = englishExampleSource(exampleLaws().front());
    return source;
}

Lab::Lab(Simulation& simulation) : simulation_(simulation) {
    simulation_.state().studentLaw = &ownLaw_;
    ownLaw_.apply(startUpLawSource());
    simulation_.setAfterCycle([this](bool running) {
        if (running) {
            race_.afterCycle(simulation_.state());
            history_.record(simulation_.state(), simulation_.controls().wristScrollPosition(),
                            race_.distance());
        }
    });
}

Lab::~Lab() {
    simulation_.state().studentLaw = nullptr;
}

void Lab::frame(double elapsedSeconds) {
    if (modalOpen_) {
        pacer_.restart();
        return;
    }
    int passes = 1; // while stopped: the redraw, and a pending step
    if (simulation_.state().runState == RunStopped) {
        pacer_.restart();
    } else {
        passes =
            pacer_.cyclesDue(Speeds[static_cast<std::size_t>(settings_.speed)], elapsedSeconds);
    }
    for (int i = 0; i < passes && simulation_.state().runState != RunEnd; ++i) {
        pass();
    }
}

void Lab::pass() {
    if (beforePass_) {
        beforePass_();
    }
    simulation_.pass();
    if (afterPass_) {
        afterPass_();
    }
}

void Lab::setSpeed(int index) {
    settings_.speed = std::clamp(index, 0, static_cast<int>(Speeds.size()) - 1);
    pacer_.restart();
}

void Lab::slower() {
    setSpeed(settings_.speed - 1);
}

void Lab::faster() {
    setSpeed(settings_.speed + 1);
}

void Lab::reset() {
    resetSimulation(simulation_.state(), simulation_.controls(), simulation_.surface());
    simulation_.state().studentLaw = &ownLaw_;
    ownLaw_.apply(startUpLawSource()); // afresh: a law's globals do not outlive a lesson
    setSpeed(NormalSpeed);
    history_.clear();
    race_.setScheme(race_.scheme());
}

namespace {

// A response figure, or a dash while it is not reached.
std::string responseFigure(double value, int decimals) {
    return std::isfinite(value) ? formatFixed(value, decimals) : "–";
}

} // namespace

std::string Lab::figures() const {
    std::string text = history_.summary();
    const SimulationState& state = simulation_.state();
    if (state.dynamics.on && state.dynamics.response.started) {
        const ResponseFigures response = responseFigures(state.dynamics.response);
        text +=
            filled(tr("    rise %s s    overshoot %s %%    settling %s s    error %s    "
                      "peak torque %s N m"),
                   {responseFigure(response.rise, 2), responseFigure(response.overshoot, 1),
                    responseFigure(response.settling, 2), responseFigure(response.steadyError, 2),
                    responseFigure(response.peakTorque, 1)});
    }
    if (settings_.cues.manipulability) {
        text +=
            tr("    manipulability w = ") + formatFixed(manipulabilityOf(simulation_.state()).w, 2);
    }
    return text;
}

bool Lab::anyCue() const {
    if (race_.active()) {
        return true;
    }
    for (const Cue& cue : Cues) {
        if (settings_.cues.*cue.setting) {
            return true;
        }
    }
    return false;
}

void Lab::drawCues(DrawingSurface& layer) const {
    race_.draw(layer);
    servo::drawCues(simulation_.state(), simulation_.controls().wristScrollPosition(),
                    settings_.cues, layer);
}

void Lab::drawPlot(const PlotLayout& layout, DrawingSurface& surface) const {
    drawErrorPlot(history_, signalSetOf(simulation_.state()), layout, surface);
}

} // namespace servo
