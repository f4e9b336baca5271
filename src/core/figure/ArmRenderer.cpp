#include "core/figure/ArmRenderer.h"

#include "core/figure/EffectorPosition.h"
#include "core/figure/RobotModel.h"
#include "core/state/Geometry.h"

namespace servo {

SurfacePoint armToSurface(double armX, double armY) {
    return {static_cast<float>(ShoulderX + WindowUnitsPerArmUnitX * armX),
            static_cast<float>(ShoulderY - armY)};
}

void drawFigure(SimulationState& state, DrawingSurface& surface) {
    // The grasp point depends on the joint angles only, not on the point drawn.
    const ArmPoint grasp = effectorPosition(state);
    state.graspX = grasp.x;
    state.graspY = grasp.y;

    const bool closed = state.gripperClosed == 1;
    const bool open = state.gripperClosed == 0;
    for (int i = 1; i <= state.pointCount; ++i) {
        const int part = state.partNumber[i];
        if ((closed && part == PartJawsOpen) || (open && part == PartJawsClosed)) {
            continue;
        }
        const SurfacePoint at = armToSurface(state.pointX[i], state.pointY[i]);
        if (state.penUp[i] == 1) {
            surface.plotPoint(at.x, at.y);
        } else {
            surface.lineTo(at.x, at.y);
        }
        const bool joint =
            i == state.shoulderPivot || i == state.elbowPivot || i == state.wristPivot;
        if (joint || part == PartLooseObject) {
            surface.circle(at.x, at.y, MarkerRadius, MarkerColour);
        }
        if (part == PartLooseObject && closed) {
            const double dx = state.graspX - state.pointX[i];
            const double dy = state.graspY - state.pointY[i];
            if (dx * dx + dy * dy < 3) {
                state.objectHeld = 1;
            }
        }
        if (open) {
            state.objectHeld = 0;
        }
    }
}

void redrawArm(SimulationState& state, DrawingSurface& surface) {
    if (state.jointDrive != nullptr) {
        state.jointDrive(state);
    }
    state.shoulderDelta = state.shoulderAngle - state.previousShoulderAngle;
    state.elbowDelta = state.elbowAngle - state.previousElbowAngle;
    state.wristDelta = state.wristAngle - state.previousWristAngle;
    state.previousShoulderAngle = state.shoulderAngle;
    state.previousElbowAngle = state.elbowAngle;
    state.previousWristAngle = state.wristAngle;

    // Outermost first: each turn carries the more distal points with it.
    state.rotationAngle = state.wristDelta;
    state.rotationPivot = state.wristPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);
    state.rotationAngle = state.elbowDelta;
    state.rotationPivot = state.elbowPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);
    state.rotationAngle = state.shoulderDelta;
    state.rotationPivot = state.shoulderPivot;
    rotateDistalPoints(state, state.rotationPivot, state.rotationAngle);

    drawFigure(state, surface);
}

} // namespace servo
