#include "core/lab/Cues.h"

#include "core/language/Translation.h"

#include "core/dynamics/ArmParameters.h"
#include "core/figure/ArmRenderer.h"
#include "core/figure/EffectorPosition.h"
#include "core/lab/Ghosts.h"
#include "core/lab/LabSample.h"
#include "core/servo/ArmJacobian.h"
#include "core/simulation/ServoSchemes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

// The ellipse of M M^T at the effector (see manipulabilityOf): its axes along the
// eigenvectors, half axes the singular values of M, so it flattens where the scheme's arm loses
// a direction.
void drawManipulabilityEllipse(const SimulationState& state, DrawingSurface& layer) {
    const Manipulability m = manipulabilityOf(state);
    const double major = m.major * ManipulabilityEllipseScale;
    const double minor = m.minor * ManipulabilityEllipseScale;
    const double angle = m.angle;
    const ArmPoint centre = effectorPosition(state);
    if (!finite(major, minor) || !finite(centre.x, centre.y)) {
        return;
    }
    layer.setForeColour(ManipulabilityColour);
    constexpr int Segments = 48;
    ArmPoint previous{};
    for (int i = 0; i <= Segments; ++i) {
        const double t = 2 * std::numbers::pi * i / Segments;
        const double u = major * std::cos(t);
        const double v = minor * std::sin(t);
        const ArmPoint p{centre.x + u * std::cos(angle) - v * std::sin(angle),
                         centre.y + u * std::sin(angle) + v * std::cos(angle)};
        if (i > 0) {
            lineBetween(layer, previous, p);
        }
        previous = p;
    }
}

// Beside each joint, a bar as long as the share of its motor's limit that the motor gives,
// with a cross bar at its end while the motor is at its limit (drawn in the warning colour).
void drawTorqueBars(const SimulationState& state, DrawingSurface& layer) {
    const ArmJoints joints =
        jointPositions(state, state.shoulderAngle, state.elbowAngle, state.wristAngle);
    const std::array<ArmPoint, 3> places{ArmPoint{0, 0}, joints.elbow, joints.wrist};
    for (std::size_t i = 0; i < places.size(); ++i) {
        const double share =
            std::clamp(state.dynamics.torques[i] / Arm.links[i].torqueLimitNm, -1.0, 1.0);
        const SurfacePoint joint = armToSurface(places[i].x, places[i].y);
        if (!std::isfinite(share) || !std::isfinite(joint.x) || !std::isfinite(joint.y)) {
            continue;
        }
        const bool saturated = state.dynamics.saturated[i];
        layer.setForeColour(saturated ? SaturatedTorqueColour : TorqueBarColour);
        const float end = joint.y - static_cast<float>(share * TorqueBarLength);
        for (const float dx : {3.0f, 4.0f, 5.0f}) { // three strokes: a bar a line is too thin
            layer.line(joint.x + dx, joint.y, joint.x + dx, end);
        }
        if (saturated) {
            layer.line(joint.x + 1, end, joint.x + 7, end);
        }
    }
}

} // namespace

void drawCues(const SimulationState& state, int wristScrollPosition, const CueSettings& cues,
              DrawingSurface& layer) {
    const auto tx = static_cast<float>(state.targetX);
    const auto ty = static_cast<float>(state.targetY);
    const bool targetShown = finite(state.targetX, state.targetY);
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    const bool reverseKinematic = scheme != nullptr && scheme->showsElbowBoxes;

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
    if (cues.manipulability) {
        drawManipulabilityEllipse(state, layer);
    }
    if (cues.torqueBars && state.dynamics.on) {
        drawTorqueBars(state, layer);
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
        layer.print(tr(OutOfReachText));
    }
    if (cues.stoppedBanner && state.runState == RunStopped) {
        layer.setForeColour(WarningColour);
        layer.setTextPosition(static_cast<float>(ShoulderX) - 20, 2);
        layer.print(tr(StoppedText));
    }
}

} // namespace servo
