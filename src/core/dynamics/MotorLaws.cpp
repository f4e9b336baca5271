#include "core/dynamics/MotorLaws.h"

#include "core/dynamics/ArmDynamics.h"
#include "core/dynamics/StudentLaw.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"

#include <array>
#include <cmath>
#include <numbers>

namespace servo {

namespace {

Vector3 jointErrors(const MotorInput& in) {
    return {in.reference[0] - in.angles[0], in.reference[1] - in.angles[1],
            in.reference[2] - in.angles[2]};
}

Vector3 noTorque(const MotorInput&) {
    return {};
}

Vector3 proportional(const MotorInput& in) {
    const Vector3 e = jointErrors(in);
    return {in.gains.kp[0] * e[0], in.gains.kp[1] * e[1], in.gains.kp[2] * e[2]};
}

Vector3 proportionalDerivative(const MotorInput& in) {
    Vector3 torques = proportional(in);
    for (int i = 0; i < 3; ++i) {
        torques[i] -= in.gains.kd[i] * in.speeds[i];
    }
    return torques;
}

Vector3 modelGravity(const MotorInput& in) {
    return armTerms(in.model, in.angles, {}, in.state.objectHeld == 1).gravity;
}

Vector3 pdGravity(const MotorInput& in) {
    Vector3 torques = proportionalDerivative(in);
    const Vector3 gravity = modelGravity(in);
    for (int i = 0; i < 3; ++i) {
        torques[i] += gravity[i];
    }
    return torques;
}

Vector3 pid(const MotorInput& in) {
    Vector3 torques = proportionalDerivative(in);
    for (int i = 0; i < 3; ++i) {
        torques[i] += in.gains.ki[i] * in.integral[i];
    }
    return torques;
}

// tau = M(q) (wn^2 e - 2 zeta wn q') + C q' + g + b q' with the model's M, C, g and friction
// b: each joint then moves as a unit mass on the designed spring and damper, as far as the
// model is right.
Vector3 computedTorque(const MotorInput& in) {
    const ArmTerms terms = armTerms(in.model, in.angles, in.speeds, in.state.objectHeld == 1);
    const Vector3 e = jointErrors(in);
    const double wn = in.naturalFrequency;
    Vector3 wanted{};
    for (int i = 0; i < 3; ++i) {
        wanted[i] = wn * wn * e[i] - 2 * in.dampingRatio * wn * in.speeds[i];
    }
    Vector3 torques = product(terms.mass, wanted);
    for (int i = 0; i < 3; ++i) {
        torques[i] += terms.coriolis[i] + terms.gravity[i] +
                      in.model.links[i].frictionNmsPerRad * in.speeds[i];
    }
    return torques;
}

// tau = J^T K e - Kd q' + g: a spring from the hand to the desired point and the wrist
// setting, whatever the scheme's reference.
Vector3 jacobianTransposeGravity(const MotorInput& in) {
    const SimulationState& s = in.state;
    const Vector3 now = taskOf(s, in.angles[0], in.angles[1], in.angles[2]);
    const double hand = in.angles[0] + in.angles[1] + in.angles[2];
    const double turn = std::remainder(s.wristSetting - hand, 2 * std::numbers::pi);
    Vector3 e{s.desiredX - now[0], s.desiredY - now[1], s.upperArmLength * turn};
    for (double& part : e) {
        part *= MetresPerArmUnit * in.taskStiffness; // the spring's force, N
    }
    Matrix3 j = taskJacobian(s, in.angles[0], in.angles[1], in.angles[2]);
    for (Vector3& row : j) {
        for (double& part : row) {
            part *= MetresPerArmUnit;
        }
    }
    Vector3 torques = product(transposed(j), e);
    const Vector3 gravity = modelGravity(in);
    for (int i = 0; i < 3; ++i) {
        torques[i] += gravity[i] - in.gains.kd[i] * in.speeds[i];
    }
    return torques;
}

// The student's torque law; while it is stopped (or there is none) PD + gravity compensation
// holds the arm at the reference.
Vector3 studentTorques(const MotorInput& in) {
    Vector3 torques{};
    StudentLaw* law = in.state.studentLaw;
    return law != nullptr && law->jointTorques(in, torques) ? torques : pdGravity(in);
}

constexpr const char* NoneExplanation = N_("No motor torque at all: the joints\n"
                                           "hang free, and gravity pulls the arm\n"
                                           "down. It falls and swings on as a\n"
                                           "triple pendulum, slowed only by the\n"
                                           "joints' friction. This is what every\n"
                                           "law below has to tame.\n");

constexpr const char* PExplanation = N_("Each motor pushes in proportion to\n"
                                        "its joint's error:\n"
                                        "\n"
                                        "tau = Kp e,   e = reference - q\n"
                                        "\n"
                                        "A spring and nothing to damp it: the\n"
                                        "arm rings about the reference, and it\n"
                                        "sags below it, for the spring must\n"
                                        "stretch to carry the arm's weight.\n");

constexpr const char* PDExplanation = N_("A spring and a damper at each joint:\n"
                                         "\n"
                                         "tau = Kp e - Kd q'\n"
                                         "\n"
                                         "The damper calms the ringing, so the\n"
                                         "arm settles, but still short of the\n"
                                         "reference: it sags until the spring's\n"
                                         "pull equals gravity's. A stiffer\n"
                                         "tuning sags less, never not at all.\n");

constexpr const char* PDGravityExplanation = N_("PD, and each motor also gives the\n"
                                                "torque the model says gravity needs:\n"
                                                "\n"
                                                "tau = Kp e - Kd q' + g(q)\n"
                                                "\n"
                                                "Gravity cancelled, the spring has no\n"
                                                "weight to carry and the arm reaches\n"
                                                "the reference. With zero gains it\n"
                                                "floats and stays where it is put.\n");

constexpr const char* PIDExplanation = N_("PD plus the integral of the error:\n"
                                          "\n"
                                          "tau = Kp e + Ki (integral of e) - Kd q'\n"
                                          "\n"
                                          "While the arm sags the integral grows\n"
                                          "until it carries the weight, so the\n"
                                          "arm reaches, with no model, after an\n"
                                          "overshoot. While a motor is at its\n"
                                          "limit its integral is held rather\n"
                                          "than wound up (clamping).\n");

constexpr const char* ComputedTorqueExplanation = N_("The model inverted: the motors give\n"
                                                     "the torques that make every joint\n"
                                                     "move as the tuning designs it:\n"
                                                     "\n"
                                                     "tau = M(q) (wn^2 e - 2 z wn q')\n"
                                                     "      + C q' + g(q) + b q'\n"
                                                     "\n"
                                                     "With a true model each joint rings\n"
                                                     "and settles exactly as wn and the\n"
                                                     "damping ratio z say. Give it a model\n"
                                                     "error and watch that promise slip.\n");

constexpr const char* JacobianTransposeGravityExplanation =
    N_("A spring pulls the hand itself to\n"
       "the target, through the Jacobian:\n"
       "\n"
       "tau = J^T K e - Kd q' + g(q)\n"
       "\n"
       "e is the hand's error in x, y and its\n"
       "angle. This law ignores the scheme's\n"
       "reference: it servos the target\n"
       "itself, with no reverse kinematics.\n");

constexpr const char* OwnExplanation = N_("Your own motor law: the function\n"
                                          "torque(s) of your law gives the\n"
                                          "joints' torques, N m, at every\n"
                                          "internal step; PD with gravity\n"
                                          "compensation, for example:\n"
                                          "\n"
                                          "tau = Kp (ref - q) - Kd q' + g(q)\n"
                                          "\n"
                                          "If it fails, PD + gravity\n"
                                          "compensation holds the arm until\n"
                                          "you apply your law again.\n");

constexpr std::array<MotorLawRow, 8> Laws{{
    {MotorLaw::None, "none", N_("None"), NoneExplanation, noTorque, false},
    {MotorLaw::P, "p", N_("P"), PExplanation, proportional, false},
    {MotorLaw::PD, "pd", N_("PD"), PDExplanation, proportionalDerivative, false},
    {MotorLaw::PDGravity, "pdg", N_("PD + gravity compensation"), PDGravityExplanation, pdGravity,
     false},
    {MotorLaw::PID, "pid", N_("PID"), PIDExplanation, pid, true},
    {MotorLaw::ComputedTorque, "ct", N_("Computed torque"), ComputedTorqueExplanation,
     computedTorque, false},
    {MotorLaw::JacobianTransposeGravity, "jtg", N_("Jacobian transpose + gravity"),
     JacobianTransposeGravityExplanation, jacobianTransposeGravity, false},
    {MotorLaw::Own, "own", N_("Your torque law"), OwnExplanation, studentTorques, false},
}};

} // namespace

Vector3 tuningInertias(const ArmParameters& arm) {
    const ArmTerms stretched = armTerms(arm, {}, {}, true);
    return {stretched.mass[0][0], stretched.mass[1][1], stretched.mass[2][2]};
}

JointGains jointGains(const ArmParameters& arm, double naturalFrequency, double dampingRatio) {
    const Vector3 inertias = tuningInertias(arm);
    JointGains gains{};
    for (int i = 0; i < 3; ++i) {
        gains.kp[i] = inertias[i] * naturalFrequency * naturalFrequency;
        gains.kd[i] = 2 * dampingRatio * naturalFrequency * inertias[i];
        gains.ki[i] = gains.kp[i] * naturalFrequency / IntegralTimeTimesFrequency;
    }
    return gains;
}

double taskStiffness(const ArmParameters& arm, double naturalFrequency) {
    double mass = arm.objectMassKilograms;
    for (const LinkParameters& link : arm.links) {
        mass += link.massKilograms;
    }
    return mass * naturalFrequency * naturalFrequency;
}

namespace {

// Three significant figures, as a panel shows a derived value.
std::string figureOf(double value) {
    const double size = std::fabs(value);
    const int decimals = size >= 100 ? 0 : size >= 10 ? 1 : size >= 1 ? 2 : 3;
    return formatFixed(value, decimals);
}

std::string perJoint(const char* name, const Vector3& values, const char* unit) {
    return filled(tr("%1$s %2$s / %3$s / %4$s %5$s"),
                  {name, figureOf(values[0]), figureOf(values[1]), figureOf(values[2]), tr(unit)});
}

} // namespace

std::string gainsText(MotorLaw law, double naturalFrequency, double dampingRatio) {
    const JointGains gains = jointGains(Arm, naturalFrequency, dampingRatio);
    const std::string kp = perJoint("Kp", gains.kp, N_("N m/rad"));
    const std::string kd = perJoint("Kd", gains.kd, N_("N m s/rad"));
    const char* gap = "    ";
    switch (law) {
    case MotorLaw::None:
        return tr("no gains: the motors give no torque");
    case MotorLaw::P:
        return kp;
    case MotorLaw::PD:
    case MotorLaw::PDGravity:
    case MotorLaw::Own: // the student's law gets them as s.Kp and s.Kd
        return kp + gap + kd;
    case MotorLaw::PID:
        return kp + gap + kd + gap + perJoint("Ki", gains.ki, N_("N m/(rad s)"));
    case MotorLaw::ComputedTorque:
        return filled(tr("wn^2 = %s 1/s^2    2 zeta wn = %s 1/s, times the model's inertia"),
                      {figureOf(naturalFrequency * naturalFrequency),
                       figureOf(2 * dampingRatio * naturalFrequency)});
    case MotorLaw::JacobianTransposeGravity:
        return filled(tr("hand spring %s N/m"), {figureOf(taskStiffness(Arm, naturalFrequency))}) +
               gap + kd;
    }
    return {};
}

std::span<const MotorLawRow> motorLaws() {
    return Laws;
}

const MotorLawRow& motorLawRow(MotorLaw law) {
    return Laws[static_cast<std::size_t>(law)];
}

std::optional<MotorLaw> motorLawNamed(std::string_view word) {
    for (const MotorLawRow& row : Laws) {
        if (word == row.word) {
            return row.law;
        }
    }
    return std::nullopt;
}

std::string motorLawWords() {
    std::string words;
    for (const MotorLawRow& row : Laws) {
        words += (words.empty() ? "" : ", ") + std::string(row.word);
    }
    return words;
}

} // namespace servo
