#include "core/servo/ForwardRThetaServo.h"

#include "core/figure/ArmRenderer.h"
#include "core/figure/EffectorPosition.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"
#include "core/state/Geometry.h"

#include <cmath>

namespace servo {

namespace {

constexpr double ZeroReplacement = 0.001; // stands in for an x of exactly 0 in the arctangent
constexpr double ShoulderElevationGain = 0.2;
constexpr double ShoulderRadiusGain = 0.01; // subtracted
constexpr double ElbowRadiusGain = 0.02;

// Direction of (x, y) from the positive x axis, counterclockwise; about -90 to 270 degrees.
double elevation(double x, double y) {
    double angle = std::atan(y / x);
    if (x < 0) {
        angle = angle + HalfTurn;
    }
    return angle;
}

} // namespace

void rThetaServoStep(SimulationState& state, DrawingSurface& surface) {
    const ArmPoint effector = effectorPosition(state);
    state.effectorX = effector.x;
    state.effectorY = effector.y;

    state.reachRadius =
        std::sqrt(state.effectorX * state.effectorX + state.effectorY * state.effectorY);
    state.desiredRadius =
        std::sqrt(state.desiredX * state.desiredX + state.desiredY * state.desiredY);
    state.radiusError = state.desiredRadius - state.reachRadius;

    if (state.effectorX == 0) {
        state.effectorX = ZeroReplacement;
    }
    state.currentElevation = elevation(state.effectorX, state.effectorY);
    if (state.desiredX == 0) {
        state.desiredX = ZeroReplacement;
    }
    state.desiredElevation = elevation(state.desiredX, state.desiredY);
    state.elevationError = state.desiredElevation - state.currentElevation;

    // The lab's gain multiplies each constant before use.
    const double shoulderElevationGain = ShoulderElevationGain * state.gain;
    const double shoulderRadiusGain = ShoulderRadiusGain * state.gain;
    const double elbowRadiusGain = ElbowRadiusGain * state.gain;
    state.shoulderAngle = state.shoulderAngle + shoulderElevationGain * state.elevationError -
                          shoulderRadiusGain * state.radiusError;
    state.elbowAngle = state.elbowAngle + elbowRadiusGain * state.radiusError;
    state.wristAngle = state.wristSetting - state.shoulderAngle - state.elbowAngle;

    surface.setTextPosition(230, 110);
    surface.print(tr("RADIUS ERROR=") + formatErrorReadout(state.radiusError));
    surface.setTextPosition(280, 110);
    surface.print(tr("ELEVATION ERROR=") +
                  formatErrorReadout(state.elevationError * DegreesPerRadian));

    const SurfacePoint path = armToSurface(state.effectorX, state.effectorY);
    surface.plotPoint(path.x, path.y);

    redrawArm(state, surface);
}

} // namespace servo
