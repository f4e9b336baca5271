#include "core/simulation/Handlers.h"

#include "core/servo/ElbowConfigurations.h"
#include "core/servo/JacobianServos.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <algorithm>
#include <cmath>

namespace servo {

void checkBoxPressed(SimulationState& state, Controls& controls, CheckBox box) {
    if (servoSchemeOf(box) != nullptr) {
        servoBoxPressed(state, controls, box);
    }
}

void servoBoxPressed(SimulationState& state, Controls& controls, CheckBox box) {
    const ServoScheme* scheme = servoSchemeOf(box);
    if (scheme == nullptr) {
        return;
    }
    state.servoType = scheme->servoType;
    for (const ServoScheme& other : servoSchemes()) {
        if (other.box != box) {
            controls.setChecked(other.box, false);
        }
    }
    controls.setExplanationText(explanationOf(*scheme));
}

void schemeChosen(SimulationState& state, Controls& controls, int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    if (scheme == nullptr) {
        return;
    }
    if (scheme->box != NoBox) {
        servoBoxPressed(state, controls, scheme->box);
        controls.setChecked(scheme->box, true);
        return;
    }
    state.servoType = servoType;
    for (const ServoScheme& boxed : servoSchemes()) {
        controls.setChecked(boxed.box, false);
    }
    controls.setExplanationText(explanationOf(*scheme));
}

void dampingEntered(SimulationState& state, double lambda) {
    if (!std::isnan(lambda)) {
        state.dampingLambda = std::clamp(lambda, 0.0, MaxDampingLambda);
    }
}

void elbowBoxClicked(SimulationState& state, Controls& controls, CheckBox box) {
    const ElbowConfiguration* configuration = elbowConfigurationOf(box);
    if (configuration == nullptr || !controls.isChecked(box)) {
        return;
    }
    state.elbowPair = configuration->elbowPair;
    state.elbowChoice = configuration->elbowChoice;
    for (const ElbowConfiguration& other : ElbowConfigurations) {
        if (other.box != box) {
            controls.setChecked(other.box, false);
        }
    }
}

void openGripperClicked(SimulationState& state) {
    state.gripperClosed = 0;
}

void closeGripperClicked(SimulationState& state) {
    state.gripperClosed = 1;
}

void pathButtonClicked(SimulationState& state, Controls& controls) {
    state.clearEachCycle = state.clearEachCycle == 1 ? 0 : 1;
    controls.setPathButtonCaption(state.clearEachCycle == 1 ? ShowPathCaption : ClearPathCaption);
}

void surfacePressed(SimulationState& state, DrawingSurface& surface, float x, float y) {
    if (state.clearEachCycle == 1) {
        surface.clear();
    }
    state.targetY = y;
    state.pointerHeld = 1;
    state.targetX = x;
}

void surfaceMoved(SimulationState& state, float x, float y) {
    if (state.pointerHeld == 1) {
        state.targetY = y;
        state.targetX = x;
    }
}

void surfaceReleased(SimulationState& state) {
    state.pointerHeld = 0;
}

void targetMovedByKey(SimulationState& state, DrawingSurface& surface, float dx, float dy) {
    const auto within = [](double value, double low, double high) {
        return static_cast<float>(std::isfinite(value) ? std::clamp(value, low, high) : low);
    };
    const float x = within(state.targetX + dx, SurfaceLeft, SurfaceRight);
    const float y = within(state.targetY + dy, SurfaceTop, SurfaceBottom);
    surfacePressed(state, surface, x, y);
    surfaceReleased(state);
}

void targetHomeKey(SimulationState& state, DrawingSurface& surface) {
    surfacePressed(state, surface, StartUpTargetX, StartUpTargetY);
    surfaceReleased(state);
}

void runClicked(SimulationState& state) {
    state.runState = RunRunning;
}

void stopClicked(SimulationState& state) {
    state.runState = RunStopped;
}

void stepClicked(SimulationState& state) {
    state.stepPending = 1;
}

void gainChanged(SimulationState& state, double gain) {
    if (gain >= 0 && gain <= MaxGain) {
        state.gain = gain;
    }
}

void gainEntered(SimulationState& state, double gain) {
    if (std::isfinite(gain)) {
        gainChanged(state, std::clamp(std::round(gain / GainStep) * GainStep, 0.0, MaxGain));
    }
}

void windowClosing(SimulationState& state) {
    state.runState = RunEnd;
}

} // namespace servo
