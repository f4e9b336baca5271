#include "core/simulation/ControlCycle.h"

#include "core/dynamics/JointDrive.h"
#include "core/dynamics/StepResponse.h"
#include "core/figure/ArmRenderer.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"
#include "core/teaching/Grid.h"

#include <numbers>

namespace servo {

double desiredXFromTarget(double targetX) {
    return (targetX - ShoulderX) / WindowUnitsPerArmUnitX;
}

double desiredYFromTarget(double targetY) {
    return ShoulderY - targetY;
}

double wristSettingFromScroll(int position) {
    const double degrees = static_cast<double>(position) / 32000 * 360 - 180;
    return degrees / DegreesPerRadian;
}

void controlCycle(SimulationState& state, DrawingSurface& surface, Controls& controls,
                  const std::function<void()>& yield) {
    if (state.runState == RunStopped) {
        redrawArm(state, surface);
        return;
    }
    runningCycle(state, surface, controls, yield);
}

void runningCycle(SimulationState& state, DrawingSurface& surface, Controls& controls,
                  const std::function<void()>& yield) {
    if (state.clearEachCycle == 1) {
        surface.clear();
    }
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    controls.setElbowBoxesVisible(scheme != nullptr && scheme->showsElbowBoxes);

    state.desiredX = desiredXFromTarget(state.targetX);
    state.desiredY = desiredYFromTarget(state.targetY);
    state.wristSetting = wristSettingFromScroll(controls.wristScrollPosition());

    if (state.firstCycle == 1) {
        // The figure is defined straight up: the redraw turns it into the start pose.
        constexpr double RadiansPerDegree = std::numbers::pi / 180;
        state.previousShoulderAngle = 0;
        state.shoulderAngle = state.startPoseDegrees[0] * RadiansPerDegree;
        state.previousElbowAngle = 0;
        state.elbowAngle = state.startPoseDegrees[1] * RadiansPerDegree;
        state.wristAngle = state.startPoseDegrees[2] * RadiansPerDegree;
        state.previousWristAngle = 0;
        state.firstCycle = 0;
        redrawArm(state, surface);
    }

    surface.setForeColour(White);
    if (scheme != nullptr) {
        // With dynamics on the step's angles are the joints' reference; the motors move them.
        responseBeforeStep(state);
        state.jointDrive = state.dynamics.on ? driveJoints : nullptr;
        scheme->step(state, surface);
        state.jointDrive = nullptr;
        responseAfterStep(state);
    }

    Grod(state, surface, yield);
}

} // namespace servo
