#include "robot/ArmRenderer.h"

#include "robot/RobotModel.h"
#include "servo/EffectorPosition.h"

namespace servo {

SurfacePoint armToSurface(double armX, double armY) {
    return {static_cast<float>(300 + 2 * armX), static_cast<float>(70 - armY)};
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

} // namespace servo
