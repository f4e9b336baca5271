#include "core/ownlaw/ExampleLaws.h"

#include "core/language/Translation.h"

#include <array>

namespace servo {

namespace {

constexpr std::array<const char*, 4> TransposeComments{
    N_("The Jacobian transpose, written out: the step along J^T e that,"),
    N_("to first order, brings the hand closest to the target."),
    N_("how the hand would move"),
    N_("the best step along g: at gain 1 it never overshoots"),
};
constexpr const char* TransposeSource = R"(-- @1
-- @2
function law(s)
  local g = t(s.J) * s.e
  local jg = s.J * g            -- @3
  if dot(jg, jg) == 0 then
    return vec(0, 0, 0)
  end
  local a = dot(s.e, jg) / dot(jg, jg)   -- @4
  return a * s.G * g
end
)";

constexpr std::array<const char*, 4> NullSpaceComments{
    N_("The hand reaches for the point (x and y only) by the pseudo-inverse"),
    N_("of Jp; the joint motion that does not move the hand (the null space)"),
    N_("bends the elbow away from straight, where the arm loses a direction."),
    N_("bend it a right angle, the way it is bent already"),
};
constexpr const char* NullSpaceSource = R"(-- @1
-- @2
-- @3
function law(s)
  local e = vec(s.e[1], s.e[2])
  local P = pinv(s.Jp)
  local reach = 0.2 * s.G * P * e
  local bent = (s.q[2] >= 0 and 1 or -1) * math.pi / 2   -- @4
  local away = vec(0, 0.1 * (bent - s.q[2]), 0)
  return reach + (eye(3) - P * s.Jp) * away
end
)";

constexpr std::array<const char*, 4> PDGravityComments{
    N_("PD with gravity compensation, as a torque law for the dynamics mode:"),
    N_("choose the motor law \"Your torque law\". The joints follow the"),
    N_("reference the scheme sets, here the Jacobian transpose's."),
    N_("Kp and Kd from the tuning; g: the model's gravity torques"),
};
constexpr const char* PDGravitySource = R"(-- @1
-- @2
-- @3
function law(s)
  local g = t(s.J) * s.e
  local jg = s.J * g
  if dot(jg, jg) == 0 then
    return vec(0, 0, 0)
  end
  return dot(s.e, jg) / dot(jg, jg) * s.G * g
end

function torque(s)
  -- @4
  return s.Kp * (s.ref - s.q) - s.Kd * s.qdot + s.g
end
)";

const ExampleLaw Examples[]{
    {"transpose", N_("Jacobian transpose, written out"), TransposeSource, TransposeComments},
    {"null-space", N_("Null space: keep the elbow bent"), NullSpaceSource, NullSpaceComments},
    {"pd-gravity", N_("PD + gravity compensation (torque)"), PDGravitySource, PDGravityComments},
};

std::string withComments(const ExampleLaw& example, bool translated) {
    std::string source;
    for (const char* c = example.source; *c != '\0'; ++c) {
        if (c[0] == '@' && c[1] >= '1' && c[1] <= '9') {
            const auto index = static_cast<std::size_t>(c[1] - '1');
            const char* comment = example.comments[index];
            source += translated ? tr(comment) : comment;
            ++c;
        } else {
            source += *c;
        }
    }
    return source;
}

} // namespace

std::span<const ExampleLaw> exampleLaws() {
    return Examples;
}

std::string exampleSource(const ExampleLaw& example) {
    return withComments(example, true);
}

std::string englishExampleSource(const ExampleLaw& example) {
    return withComments(example, false);
}

} // namespace servo
