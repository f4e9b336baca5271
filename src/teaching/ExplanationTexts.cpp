#include "teaching/ExplanationTexts.h"

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
            "The reverse kinematic servo is, as a rule, the sturdiest scheme and the one",
            "best suited to robots. From the wanted end position of the gripper it works",
            "out the joint angles that are required. Elaborate rules usually choose the",
            "wrist and elbow orientations (here: the wrist scroll bar and the elbow boxes).",
            "From these angles one error signal follows for every joint:",
            "",
            "JE = JD - JC,    **one Equation for each joint.**",
            "",
            "JE=error or drive signal to the motor",
            "JD=desired angle calculated from the geometry of the robot",
            "JC=current joint angle as measured by sensors",
            "Its drawback is the heavy computation needed at every step. Its chief merit",
            "is linear, stable behaviour in most conditions.",
            "Drag the effector along a straight line with the mouse and watch: the arm",
            "stays stable everywhere except where it has to change configuration, a",
            "weakness that enough control logic overcomes.",
        },
        LastLine::EndsWithBreak);

    state.forwardXYText = joinLines(
        {
            "The forward kinematic x,y servo is one of the oldest schemes and the simplest",
            "to build. The present X and Y position of the gripper is computed from the",
            "joint feedback and compared with the wanted X and Y, which gives one error",
            "signal for each axis:",
            "",
            "XE = XD - XC,      XE=x-axis error, XD=Desired X ",
            "YE = YD - YC       XC=Current measured X,    YE=Y-axis error, etc",
            "",
            "Ordinary analog hardware can do this. The errors then drive the joints",
            "directly: in the model on the screen, folding elbow and shoulder changes x",
            "and the shoulder motor changes y, so the control is crude.",
            "Drag the gripper with the mouse. The scheme is highly prone to hunting and",
            "to falling into oscillation, and it is often stable only within 45 degrees",
            "of vertical on either side.",
            "After using Panic/Stop, choose Run again and pick a target near the top of",
            "the screen.",
            "Servos like this aimed gun mounts in the Second World War: picture the",
            "gunner following a moving target.",
        },
        LastLine::NoBreak);

    state.forwardRThetaText = joinLines(
        {
            "In complexity the forward kinematic R,theta servo lies between the x,y servo",
            "and the reverse kinematic servo. The present radius and elevation of the",
            "gripper are computed from the joint feedback and compared with the wanted",
            "distance and elevation:",
            "",
            "RE = RD - RC,    RE=Radius Error, RD=Desired radius, RC=Current radius",
            "TE = TD - TC,    TE=Elev. Error, TD=Desired Elevation, etc. ",
            "",
            "The errors drive the joints directly: in the model on the screen, folding",
            "elbow and shoulder changes the radius, and the shoulder motor changes the",
            "elevation. The control is crude, yet far better than driving the joints",
            "from the x and y errors.",
            "Drag the gripper with the mouse and observe fair stability without any",
            "change of gain or other settings.",
            "There is less hunting and oscillation than with the x,y servo, though the",
            "behaviour does not match the reverse kinematic scheme.",
        },
        LastLine::EndsWithBreak);
}

} // namespace servo
