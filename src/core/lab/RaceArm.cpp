#include "core/lab/RaceArm.h"

#include "core/figure/ArmRenderer.h"
#include "core/figure/EffectorPosition.h"
#include "core/simulation/ServoSchemes.h"

#include <cmath>
#include <limits>

namespace servo {

const char* raceSchemeWord(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    return scheme == nullptr ? NoRaceCaption : scheme->name;
}

std::optional<int> raceSchemeOfWord(std::string_view word) {
    if (word == NoRaceCaption) {
        return 0;
    }
    const ServoScheme* scheme = servoSchemeNamed(word);
    return scheme == nullptr ? std::nullopt : std::optional<int>(scheme->servoType);
}

void RaceArm::setScheme(int servoType) {
    servoType_ = servoSchemeOf(servoType) != nullptr ? servoType : 0;
    restart_ = true;
}

void RaceArm::afterCycle(const SimulationState& main) {
    if (!active()) {
        any_ = false;
        return;
    }
    const bool changed = !any_ || main.targetX != before_.targetX ||
                         main.targetY != before_.targetY || main.servoType != before_.servoType;
    if (restart_ || changed) {
        arm_ = any_ ? before_ : main;
        arm_.servoType = servoType_;
        cycles_ = 0;
        restart_ = false;
    }
    before_ = main;
    any_ = true;

    arm_.targetX = main.targetX;
    arm_.targetY = main.targetY;
    arm_.desiredX = main.desiredX;
    arm_.desiredY = main.desiredY;
    arm_.wristSetting = main.wristSetting;
    arm_.gain = main.gain;
    arm_.dampingLambda = main.dampingLambda;
    arm_.elbowPair = main.elbowPair;
    arm_.elbowChoice = main.elbowChoice;
    scratch_.forget();
    servoSchemeOf(servoType_)->step(arm_, scratch_);
    scratch_.forget();
    ++cycles_;
}

double RaceArm::distance() const {
    if (!active() || !any_) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const ArmPoint effector = effectorPosition(arm_);
    return std::hypot(arm_.desiredX - effector.x, arm_.desiredY - effector.y);
}

void RaceArm::draw(DrawingSurface& layer) const {
    if (!active() || !any_) {
        return;
    }
    const ArmJoints joints =
        jointPositions(arm_, arm_.shoulderAngle, arm_.elbowAngle, arm_.wristAngle);
    layer.setForeColour(RaceArmColour);
    const SurfacePoint points[] = {armToSurface(0, 0), armToSurface(joints.elbow.x, joints.elbow.y),
                                   armToSurface(joints.wrist.x, joints.wrist.y),
                                   armToSurface(joints.effector.x, joints.effector.y)};
    for (std::size_t i = 0; i + 1 < std::size(points); ++i) {
        layer.line(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    }
    for (const SurfacePoint& p : points) {
        layer.circle(p.x, p.y, 1.5f, RaceArmColour);
    }
}

} // namespace servo
