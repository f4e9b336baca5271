#include "core/teaching/ExplanationTexts.h"

#include "core/language/Translation.h"

#include <string_view>

namespace servo {

namespace {

// A text written with '\n' (as the catalogue has it) with the text boxes' CR LF breaks.
std::string withCrLf(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '\n') {
            result += CrLf;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

void buildExplanationTexts(SimulationState& state) {
    state.reverseKinematicText =
        withCrLf(N_("As a rule this is the sturdiest\n"
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
                    "changes pose; more logic cures that.\n"));

    state.forwardXYText =
        withCrLf(N_("One of the oldest schemes, and the\n"
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
                    "picture the gunner chasing a target."));

    state.forwardRThetaText =
        withCrLf(N_("Between the x,y servo and reverse\n"
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
                    "not as good as reverse kinematic.\n"));

    state.jacobianTransposeText = withCrLf(N_("The Jacobian J tells how each joint\n"
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
                                              "crawl where J stretches badly.\n"));

    state.resolvedRateText = withCrLf(N_("Resolved rate inverts the Jacobian:\n"
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
                                         "and stops. Try a target out of reach.\n"));

    state.dampedLeastSquaresText = withCrLf(N_("Damped least squares: resolved rate\n"
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
                                               "creeps like the Jacobian transpose.\n"));
}

} // namespace servo
