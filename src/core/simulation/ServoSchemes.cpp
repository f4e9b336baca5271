#include "core/simulation/ServoSchemes.h"

#include "core/language/Translation.h"

#include "core/ownlaw/OwnLawScheme.h"

#include "core/servo/ArmJacobian.h"
#include "core/servo/ElbowConfigurations.h"
#include "core/servo/ErrorFormat.h"
#include "core/servo/ForwardRThetaServo.h"
#include "core/servo/ForwardXYServo.h"
#include "core/servo/JacobianServos.h"
#include "core/servo/ReverseKinematicServo.h"
#include "core/simulation/ControlCycle.h"
#include "core/state/Geometry.h"
#include "core/teaching/ExplanationTexts.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace servo {

namespace {

constexpr double None = std::numeric_limits<double>::quiet_NaN();

// The explanation box's texts. Each has an opening paragraph ending in a colon, an empty line,
// the scheme's equations, an empty line and a closing paragraph.
constexpr const char* ReverseKinematicExplanation =
    N_("As a rule this is the sturdiest\n"
       "scheme and the best for robots. It\n"
       "works out the joint angles for the\n"
       "wanted end position, elaborate rules\n"
       "choosing wrist and elbow. Errors:\n"
       "\n"
       "JE = JD - JC,    **one Equation for each joint.**\n"
       "\n"
       "JE=error or drive signal to the motor\n"
       "JD=desired angle calculated from the geometry of the robot\n"
       "JC=current joint angle as measured by sensors\n"
       "Drawback: much computing. Merit:\n"
       "linear, stable behaviour, mostly.\n"
       "Drag the effector along a straight\n"
       "line: stable, except where the arm\n"
       "changes pose; more logic cures that.\n");

constexpr const char* ForwardXYExplanation =
    N_("One of the oldest schemes, and the\n"
       "simplest to build: the present X, Y\n"
       "from joint feedback is set against\n"
       "the wanted X, Y, one error per axis:\n"
       "\n"
       "XE = XD - XC,      XE=x-axis error, XD=Desired X \n"
       "YE = YD - YC       XC=Current measured X,    YE=Y-axis error, etc\n"
       "\n"
       "Plain analog hardware can do this.\n"
       "The errors drive the joints: here,\n"
       "folding elbow and shoulder changes\n"
       "x, the shoulder motor changes y.\n"
       "Crude. Drag the gripper: it hunts\n"
       "and breaks into oscillation, often\n"
       "stable only 45 degrees either side\n"
       "of vertical. After Panic/Stop: Run,\n"
       "aim high. WW2 gun mounts did so:\n"
       "picture the gunner chasing a target.");

constexpr const char* ForwardRThetaExplanation =
    N_("Between the x,y servo and reverse\n"
       "kinematics in complexity: present\n"
       "radius and elevation from joints\n"
       "are compared with the wanted ones:\n"
       "\n"
       "RE = RD - RC,    RE=Radius Error, RD=Desired radius, RC=Current radius\n"
       "TE = TD - TC,    TE=Elev. Error, TD=Desired Elevation, etc. \n"
       "\n"
       "The errors drive the joints: here,\n"
       "folding elbow and shoulder changes\n"
       "the radius, the shoulder motor the\n"
       "elevation. Crude, yet far better\n"
       "than x,y errors. Drag the gripper\n"
       "and see fair stability, no gain\n"
       "changed. Less hunting than x,y, but\n"
       "not as good as reverse kinematic.\n");

constexpr const char* JacobianTransposeExplanation = N_("The Jacobian J tells how each joint\n"
                                                        "moves the hand: x, y and its angle.\n"
                                                        "Its transpose turns the hand's error\n"
                                                        "into joint pushes, as a spring would:\n"
                                                        "\n"
                                                        "dq = a G J^T e,   e = desired - current\n"
                                                        "a = (e . J J^T e) / |J J^T e|^2\n"
                                                        "\n"
                                                        "a is the best step along J^T e, so at\n"
                                                        "gain 1 it never overshoots. Cheap and\n"
                                                        "never singular, but it slows to a\n"
                                                        "crawl where J stretches badly.\n");

constexpr const char* ResolvedRateExplanation = N_("Resolved rate inverts the Jacobian:\n"
                                                   "it asks which joint steps move the\n"
                                                   "hand exactly a fifth of the way on:\n"
                                                   "\n"
                                                   "dq = 0.2 G J^-1 e\n"
                                                   "\n"
                                                   "The hand runs on a straight line and\n"
                                                   "settles fast. Stretch the arm out and\n"
                                                   "J loses a direction: its determinant\n"
                                                   "goes to zero, the steps blow up, and\n"
                                                   "below a threshold it says SINGULAR\n"
                                                   "and stops. Try a target out of reach.\n");

constexpr const char* DampedLeastSquaresExplanation = N_("Damped least squares: resolved rate\n"
                                                         "with a brake near the singularity:\n"
                                                         "\n"
                                                         "dq = 0.2 G J^T (J J^T + L^2 I)^-1 e\n"
                                                         "\n"
                                                         "L (lambda, arm units) trades accuracy\n"
                                                         "for calm: far from a singularity it\n"
                                                         "moves as resolved rate does; near one\n"
                                                         "its steps stay small and the arm\n"
                                                         "reaches as far as it can, smoothly.\n"
                                                         "L = 0 is resolved rate; a large L\n"
                                                         "creeps like the Jacobian transpose.\n");

constexpr const char* OwnLawExplanation = N_("Your own law, in Lua: the function\n"
                                             "law(s) gives each step's joint steps\n"
                                             "from the state s, for example:\n"
                                             "\n"
                                             "return 0.2 * s.G * pinv(s.J) * s.e\n"
                                             "\n"
                                             "s holds the joint angles q, the\n"
                                             "error e, the Jacobian J, the gain G\n"
                                             "and more. Apply it to make it take\n"
                                             "effect; an error stops it, and the\n"
                                             "arm holds until you apply again.\n");

// Reverse kinematic: each joint's error, commanded minus current (degrees; none while the
// target is out of reach).
SignalValues jointErrors(const SimulationState& state, int wristScrollPosition) {
    const ReverseKinematicSolution commanded = solveReverseKinematic(
        goalForTarget(state, wristScrollPosition, state.elbowPair, state.elbowChoice));
    if (!commanded.reachable) {
        return {None, None, None};
    }
    return {(commanded.shoulderAngle - state.shoulderAngle) * DegreesPerRadian,
            (commanded.elbowAngle - state.elbowAngle) * DegreesPerRadian,
            (commanded.wristAngle - state.wristAngle) * DegreesPerRadian};
}

SignalValues xyErrors(const SimulationState& state, int) {
    return {state.xError, state.yError, None};
}

SignalValues rThetaErrors(const SimulationState& state, int) {
    return {state.radiusError, state.elevationError * DegreesPerRadian, None};
}

// The Jacobian schemes: manipulability (in ManipulabilityPlotUnit) and the largest joint step
// (degrees).
SignalValues jacobianSignals(const SimulationState& state, int) {
    return {state.manipulabilityValue / ManipulabilityPlotUnit,
            state.largestJointStep * DegreesPerRadian, None};
}

constexpr SignalNames JointErrorNames{{N_("shoulder error"), N_("elbow error"), N_("wrist error")},
                                      N_("degrees")};
constexpr SignalNames XYErrorNames{{N_("X error"), N_("Y error"), nullptr}, N_("arm units")};
constexpr SignalNames RThetaErrorNames{
    {N_("radius error (arm units)"), N_("elevation error (degrees)"), nullptr}, ""};
constexpr SignalNames JacobianSignalNames{
    {N_("manipulability / 100"), N_("largest joint step (degrees)"), nullptr}, ""};

std::string xyReadOut(const SimulationState& state) {
    return filled(tr(" X error %s, Y error %s."),
                  {formatFixed(state.xError, 2), formatFixed(state.yError, 2)});
}

std::string rThetaReadOut(const SimulationState& state) {
    return filled(
        tr(" Radius error %s, elevation error %s."),
        {formatFixed(state.radiusError, 2),
         filled(tr("%s degrees"), {formatOneDecimal(state.elevationError * DegreesPerRadian)})});
}

std::string jacobianReadOut(const SimulationState& state) {
    return state.singular == 1
               ? tr(" Singular: no step.")
               : filled(tr(" Manipulability %s."), {formatFixed(state.manipulabilityValue, 2)});
}

// In the order of the servo types from 1; the servo boxes' schemes first.
const ServoScheme Schemes[]{
    {ServoReverseKinematic, CheckBox::Check1, N_("Reverse Kinematic"), "reverse",
     ReverseKinematicExplanation, reverseKinematicStep, true, false, JointErrorNames, jointErrors,
     nullptr, 0},
    {ServoForwardXY, CheckBox::Check2, N_("Forward Kin.(x,y)"), "xy", ForwardXYExplanation,
     xyServoStep, false, false, XYErrorNames, xyErrors, xyReadOut, 1},
    {ServoForwardRTheta, CheckBox::Check3, N_("Forward Kin.(R,ang.)"), "rtheta",
     ForwardRThetaExplanation, rThetaServoStep, false, false, RThetaErrorNames, rThetaErrors,
     rThetaReadOut, 2},
    {ServoJacobianTranspose, NoBox, N_("Jacobian transpose"), "transpose",
     JacobianTransposeExplanation, jacobianTransposeStep, false, true, JacobianSignalNames,
     jacobianSignals, jacobianReadOut, 3},
    {ServoResolvedRate, NoBox, N_("Resolved rate"), "resolved", ResolvedRateExplanation,
     resolvedRateStep, false, true, JacobianSignalNames, jacobianSignals, jacobianReadOut, 4},
    {ServoDampedLeastSquares, NoBox, N_("Damped least squares"), "damped",
     DampedLeastSquaresExplanation, dampedLeastSquaresStep, false, true, JacobianSignalNames,
     jacobianSignals, jacobianReadOut, 5},
    {ServoOwnLaw, NoBox, N_("Your law"), "own", OwnLawExplanation, ownLawStep, false, true,
     JacobianSignalNames, jacobianSignals, jacobianReadOut, 6},
};

// The servo boxes' schemes, which lead the table.
std::size_t boxSchemeCount() {
    return static_cast<std::size_t>(
        std::find_if(std::begin(Schemes), std::end(Schemes),
                     [](const ServoScheme& scheme) { return scheme.box == NoBox; }) -
        std::begin(Schemes));
}

} // namespace

std::span<const ServoScheme> servoSchemes() {
    return std::span(Schemes).first(boxSchemeCount());
}

std::span<const ServoScheme> labSchemes() {
    return std::span(Schemes).subspan(boxSchemeCount());
}

std::span<const ServoScheme> allSchemes() {
    return std::span(Schemes);
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

std::vector<const ServoScheme*> labSchemeList() {
    std::vector<const ServoScheme*> list;
    for (const ServoScheme& scheme : Schemes) {
        list.push_back(&scheme);
    }
    std::sort(list.begin(), list.end(),
              [](const ServoScheme* a, const ServoScheme* b) { return a->labPlace < b->labPlace; });
    return list;
}

int servoTypeAtLabPlace(int place) {
    for (const ServoScheme& scheme : Schemes) {
        if (static_cast<int>(scheme.labPlace) == place) {
            return scheme.servoType;
        }
    }
    return 0;
}

int labPlaceOf(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    return scheme != nullptr ? static_cast<int>(scheme->labPlace) : -1;
}

std::string explanationOf(const ServoScheme& scheme) {
    return withCrLf(scheme.explanation);
}

SignalNames signalNamesOf(int servoType) {
    const ServoScheme* scheme = servoSchemeOf(servoType);
    return scheme != nullptr ? scheme->signalNames : SignalNames{{nullptr, nullptr, nullptr}, ""};
}

SignalValues signalValuesOf(const SimulationState& state, int wristScrollPosition) {
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    return scheme != nullptr ? scheme->signalValues(state, wristScrollPosition)
                             : SignalValues{None, None, None};
}

Manipulability manipulabilityOf(const SimulationState& state) {
    const ServoScheme* scheme = servoSchemeOf(state.servoType);
    return manipulabilityOf(taskJacobian(state), scheme != nullptr && scheme->servosHandAngle);
}

const char* boxCaption(CheckBox box) {
    if (const ServoScheme* scheme = servoSchemeOf(box)) {
        return scheme->caption;
    }
    const ElbowConfiguration* configuration = elbowConfigurationOf(box);
    return configuration != nullptr ? configuration->caption : "";
}

ReverseKinematicGoal goalForTarget(const SimulationState& state, int wristScrollPosition,
                                   int elbowPair, int elbowChoice) {
    return {desiredXFromTarget(state.targetX),
            desiredYFromTarget(state.targetY),
            wristSettingFromScroll(wristScrollPosition),
            elbowPair,
            elbowChoice,
            state.upperArmLength,
            state.handLength};
}

} // namespace servo
