#include "core/simulation/ServoSchemes.h"

#include "core/language/Translation.h"

#include "core/servo/ElbowConfigurations.h"
#include "core/servo/ForwardRThetaServo.h"
#include "core/servo/ForwardXYServo.h"
#include "core/servo/JacobianServos.h"
#include "core/servo/ReverseKinematicServo.h"

#include <array>

namespace servo {

namespace {

const std::array<ServoScheme, 6> Schemes{{
    {ServoReverseKinematic, CheckBox::Check1, N_("Reverse Kinematic"), "reverse",
     &SimulationState::reverseKinematicText, reverseKinematicStep, true},
    {ServoForwardXY, CheckBox::Check2, N_("Forward Kin.(x,y)"), "xy",
     &SimulationState::forwardXYText, xyServoStep, false},
    {ServoForwardRTheta, CheckBox::Check3, N_("Forward Kin.(R,ang.)"), "rtheta",
     &SimulationState::forwardRThetaText, rThetaServoStep, false},
    {ServoJacobianTranspose, NoBox, N_("Jacobian transpose"), "transpose",
     &SimulationState::jacobianTransposeText, jacobianTransposeStep, false},
    {ServoResolvedRate, NoBox, N_("Resolved rate"), "resolved", &SimulationState::resolvedRateText,
     resolvedRateStep, false},
    {ServoDampedLeastSquares, NoBox, N_("Damped least squares"), "damped",
     &SimulationState::dampedLeastSquaresText, dampedLeastSquaresStep, false},
}};
constexpr std::size_t BoxSchemes = 3;

} // namespace

std::span<const ServoScheme> servoSchemes() {
    return std::span(Schemes).first(BoxSchemes);
}

std::span<const ServoScheme> labSchemes() {
    return std::span(Schemes).subspan(BoxSchemes);
}

std::span<const ServoScheme> allSchemes() {
    return Schemes;
}

const ServoScheme* servoSchemeNamed(std::string_view name) {
    for (const ServoScheme& scheme : Schemes) {
        if (name == scheme.name) {
            return &scheme;
        }
    }
    return nullptr;
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
    for (const ServoScheme& scheme : servoSchemes()) {
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
