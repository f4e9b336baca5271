#include "core/simulation/ServoSchemes.h"

#include "core/servo/ElbowConfigurations.h"
#include "core/servo/ForwardRThetaServo.h"
#include "core/servo/ForwardXYServo.h"
#include "core/servo/ReverseKinematicServo.h"

namespace servo {

namespace {

const std::array<ServoScheme, 3> Schemes{{
    {ServoReverseKinematic, CheckBox::Check1, "Reverse Kinematic",
     &SimulationState::reverseKinematicText, reverseKinematicStep, true},
    {ServoForwardXY, CheckBox::Check2, "Forward Kin.(x,y)", &SimulationState::forwardXYText,
     xyServoStep, false},
    {ServoForwardRTheta, CheckBox::Check3, "Forward Kin.(R,ang.)",
     &SimulationState::forwardRThetaText, rThetaServoStep, false},
}};

} // namespace

const std::array<ServoScheme, 3>& servoSchemes() {
    return Schemes;
}

const ServoScheme* servoSchemeOf(int servoType) {
    for (const ServoScheme& scheme : Schemes) {
        if (scheme.servoType == servoType) {
            return &scheme;
        }
    }
    return nullptr;
}

const ServoScheme* servoSchemeOf(CheckBox box) {
    for (const ServoScheme& scheme : Schemes) {
        if (scheme.box == box) {
            return &scheme;
        }
    }
    return nullptr;
}

const char* boxCaption(CheckBox box) {
    if (const ServoScheme* scheme = servoSchemeOf(box)) {
        return scheme->caption;
    }
    const ElbowConfiguration* configuration = elbowConfigurationOf(box);
    return configuration != nullptr ? configuration->caption : "";
}

} // namespace servo
