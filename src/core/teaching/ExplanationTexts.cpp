#include "core/teaching/ExplanationTexts.h"

#include <initializer_list>
#include <string_view>

namespace servo {

namespace {

enum class LastLine { EndsWithBreak, NoBreak };

std::string joinLines(std::initializer_list<std::string_view> lines, LastLine last) {
    std::string text;
    std::size_t remaining = lines.size();
    for (std::string_view line : lines) {
        text += line;
        if (--remaining > 0 || last == LastLine::EndsWithBreak) {
            text += CrLf;
        }
    }
    return text;
}

} // namespace

void buildExplanationTexts(SimulationState& state) {
    state.reverseKinematicText = joinLines(
        {
            "As a rule this is the sturdiest",
            "scheme and the best for robots. It",
            "works out the joint angles for the",
            "wanted end position, elaborate rules",
            "choosing wrist and elbow. Errors:",
            "",
            "JE = JD - JC,    **one Equation for each joint.**",
            "",
            "JE=error or drive signal to the motor",
            "JD=desired angle calculated from the geometry of the robot",
            "JC=current joint angle as measured by sensors",
            "Drawback: much computing. Merit:",
            "linear, stable behaviour, mostly.",
            "Drag the effector along a straight",
            "line: stable, except where the arm",
            "changes pose; more logic cures that.",
        },
        LastLine::EndsWithBreak);

    state.forwardXYText = joinLines(
        {
            "One of the oldest schemes, and the",
            "simplest to build: the present X, Y",
            "from joint feedback is set against",
            "the wanted X, Y, one error per axis:",
            "",
            "XE = XD - XC,      XE=x-axis error, XD=Desired X ",
            "YE = YD - YC       XC=Current measured X,    YE=Y-axis error, etc",
            "",
            "Plain analog hardware can do this.",
            "The errors drive the joints: here,",
            "folding elbow and shoulder changes",
            "x, the shoulder motor changes y.",
            "Crude. Drag the gripper: it hunts",
            "and breaks into oscillation, often",
            "stable only 45 degrees either side",
            "of vertical. After Panic/Stop: Run,",
            "aim high. WW2 gun mounts did so:",
            "picture the gunner chasing a target.",
        },
        LastLine::NoBreak);

    state.forwardRThetaText = joinLines(
        {
            "Between the x,y servo and reverse",
            "kinematics in complexity: present",
            "radius and elevation from joints",
            "are compared with the wanted ones:",
            "",
            "RE = RD - RC,    RE=Radius Error, RD=Desired radius, RC=Current radius",
            "TE = TD - TC,    TE=Elev. Error, TD=Desired Elevation, etc. ",
            "",
            "The errors drive the joints: here,",
            "folding elbow and shoulder changes",
            "the radius, the shoulder motor the",
            "elevation. Crude, yet far better",
            "than x,y errors. Drag the gripper",
            "and see fair stability, no gain",
            "changed. Less hunting than x,y, but",
            "not as good as reverse kinematic.",
        },
        LastLine::EndsWithBreak);

    state.jacobianTransposeText = joinLines(
        {
            "The Jacobian J tells how each joint",
            "moves the hand: x, y and its angle.",
            "Its transpose turns the hand's error",
            "into joint pushes, as a spring would:",
            "",
            "dq = a G J^T e,   e = desired - current",
            "a = (e . J J^T e) / |J J^T e|^2",
            "",
            "a is the best step along J^T e, so at",
            "gain 1 it never overshoots. Cheap and",
            "never singular, but it slows to a",
            "crawl where J stretches badly.",
        },
        LastLine::EndsWithBreak);

    state.resolvedRateText = joinLines(
        {
            "Resolved rate inverts the Jacobian:",
            "it asks which joint steps move the",
            "hand exactly a fifth of the way on:",
            "",
            "dq = 0.2 G J^-1 e",
            "",
            "The hand runs on a straight line and",
            "settles fast. Stretch the arm out and",
            "J loses a direction: its determinant",
            "goes to zero, the steps blow up, and",
            "below a threshold it says SINGULAR",
            "and stops. Try a target out of reach.",
        },
        LastLine::EndsWithBreak);

    state.dampedLeastSquaresText = joinLines(
        {
            "Damped least squares: resolved rate",
            "with a brake near the singularity:",
            "",
            "dq = 0.2 G J^T (J J^T + L^2 I)^-1 e",
            "",
            "L (lambda, arm units) trades accuracy",
            "for calm: far from a singularity it",
            "moves as resolved rate does; near one",
            "its steps stay small and the arm",
            "reaches as far as it can, smoothly.",
            "L = 0 is resolved rate; a large L",
            "creeps like the Jacobian transpose.",
        },
        LastLine::EndsWithBreak);
}

} // namespace servo
