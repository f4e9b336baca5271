#include "core/lab/Cues.h"

#include "core/figure/ArmRenderer.h"
#include "core/lab/Ghosts.h"
#include "core/lab/LabSample.h"

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

void lineBetween(DrawingSurface& layer, ArmPoint from, ArmPoint to) {
    const SurfacePoint a = armToSurface(from.x, from.y);
    const SurfacePoint b = armToSurface(to.x, to.y);
    layer.line(a.x, a.y, b.x, b.y);
}

bool finite(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

} // namespace

void drawCues(const SimulationState& state, int wristScrollPosition, const CueSettings& cues,
              DrawingSurface& layer) {
    const auto tx = static_cast<float>(state.targetX);
    const auto ty = static_cast<float>(state.targetY);
    const bool targetShown = finite(state.targetX, state.targetY);
    const bool reverseKinematic = state.servoType == ServoReverseKinematic;

    if (cues.ghosts && reverseKinematic) {
        layer.setForeColour(ReachBoundaryColour);
        const std::vector<ArmPoint> boundary = reachBoundary(state, wristScrollPosition);
        for (std::size_t i = 0; i + 1 < boundary.size(); ++i) {
            lineBetween(layer, boundary[i], boundary[i + 1]);
        }
        // The one in force last, so that it stands on top.
        const auto ghosts = ghostArms(state, wristScrollPosition);
        for (const bool inForce : {false, true}) {
            for (const GhostArm& ghost : ghosts) {
                if (!ghost.reachable || ghost.inForce != inForce) {
                    continue;
                }
                layer.setForeColour(inForce ? GhostInForceColour : GhostColour);
                lineBetween(layer, {0, 0}, ghost.joints.elbow);
                lineBetween(layer, ghost.joints.elbow, ghost.joints.wrist);
                lineBetween(layer, ghost.joints.wrist, ghost.joints.effector);
                const SurfacePoint elbow = armToSurface(ghost.joints.elbow.x, ghost.joints.elbow.y);
                layer.circle(elbow.x, elbow.y, 1.5f, inForce ? GhostInForceColour : GhostColour);
            }
        }
    }
    if (cues.targetMarker && targetShown) {
        layer.setForeColour(TargetMarkerColour);
        layer.circle(tx, ty, 3, TargetMarkerColour);
        layer.line(tx - 5, ty, tx + 5, ty);
        layer.line(tx, ty - 5, tx, ty + 5);
    }
    if (cues.outOfReach && reverseKinematic && targetShown &&
        !sampleOf(state, wristScrollPosition).reachable) {
        layer.setForeColour(WarningColour);
        // Under the marker (over it near the bottom edge), kept clear of the right edge.
        const float x = std::min(tx - 10, static_cast<float>(SurfaceRight) - 40);
        const float y = ty < SurfaceBottom - 20 ? ty + 7 : ty - 16;
        layer.setTextPosition(x, y);
        layer.print(OutOfReachText);
    }
    if (cues.stoppedBanner && state.runState == RunStopped) {
        layer.setForeColour(WarningColour);
        layer.setTextPosition(static_cast<float>(ShoulderX) - 20, 2);
        layer.print(StoppedText);
    }
}

} // namespace servo
