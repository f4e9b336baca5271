#include "core/servo/ForwardXYServo.h"

#include "core/figure/ArmRenderer.h"
#include "core/figure/EffectorPosition.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"

namespace servo {

namespace {

constexpr double ShoulderGain = 0.01; // on each of the two errors
constexpr double ElbowGain = 0.02;    // on the Y error

} // namespace

void xyServoStep(SimulationState& state, DrawingSurface& surface) {
    const ArmPoint effector = effectorPosition(state);
    state.effectorX = effector.x;
    state.effectorY = effector.y;

    state.xError = state.desiredX - state.effectorX;
    state.yError = state.desiredY - state.effectorY;

    // The lab's gain multiplies each constant before use.
    const double shoulderGain = ShoulderGain * state.gain;
    const double elbowGain = ElbowGain * state.gain;
    state.shoulderAngle =
        state.shoulderAngle - shoulderGain * state.xError - shoulderGain * state.yError;
    state.elbowAngle = state.elbowAngle + elbowGain * state.yError;
    state.wristAngle = state.wristSetting - state.shoulderAngle - state.elbowAngle;

    surface.setTextPosition(230, 110);
    surface.print(tr("X ERROR=") + formatErrorReadout(state.xError));
    surface.setTextPosition(310, 110);
    surface.print(tr("Y ERROR=") + formatErrorReadout(state.yError));

    // Where the previous cycle drew the effector: with the path shown these points add up.
    const SurfacePoint path = armToSurface(state.effectorX, state.effectorY);
    surface.plotPoint(path.x, path.y);

    redrawArm(state, surface);
}

} // namespace servo
