#pragma once

#include "core/dynamics/StudentLaw.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace servo {

// The limits of a student's law: its source's length, the Lua instructions one call may run
// (a runaway loop stops within milliseconds) and the memory its Lua state may hold.
inline constexpr std::size_t MaxLawBytes = 16 * 1024;
inline constexpr long long LawInstructionBudget = 2'000'000;
inline constexpr std::size_t LawMemoryLimit = 64 * 1024 * 1024;

// Why a law stopped: the line of its source (from 1; 0 where no line applies) and the message,
// in English as Lua or the sandbox gave it (the sandbox's own are marked for the catalogue).
struct LawError {
    int line = 0;
    std::string message;
    bool operator==(const LawError&) const = default;
};

// What a law is doing: waiting for a source, running, or stopped by an error until applied
// again.
enum class LawStatus { Empty, Running, Stopped };

// The student's law, Lua 5.4 in a sandbox: `function law(s) ... return dq end` gives each lab
// step's joint steps and the optional `function torque(s) ... return tau end` each internal
// step's torques (see the README's "Your own law" for `s` and the vector and matrix type). The
// sandbox offers the base library without loading, printing, metatables or pcall, and the
// string (without patterns), table, math and utf8 libraries; each call has an instruction
// budget, the state a memory limit, Lua's stack its own. Any error, limit or wrong result stops
// the law (the arm holds) with its message and line, until the source is applied again.
class OwnLaw final : public StudentLaw {
public:
    OwnLaw();
    ~OwnLaw();
    OwnLaw(const OwnLaw&) = delete;
    OwnLaw& operator=(const OwnLaw&) = delete;

    // Compiles the source and runs its chunk, which defines the functions: from now on they are
    // the law (or it is stopped with the error). An empty source leaves no law.
    void apply(std::string_view source);
    const std::string& source() const { return source_; }
    LawStatus status() const { return status_; }
    // Whether the source defines torque(s).
    bool hasTorque() const { return hasTorque_; }
    // The error that stopped the law (an empty message while it has not).
    const LawError& error() const { return error_; }
    // Errors so far, counting up: a reader that remembers the count sees each new one.
    long long errorCount() const { return errorCount_; }

    bool jointSteps(const SimulationState& state, Vector3& steps) override;
    bool jointTorques(const MotorInput& input, Vector3& torques) override;

    struct Sandbox; // the Lua state and its limits

private:
    void stop(LawError error);
    void close();

    std::unique_ptr<Sandbox> sandbox_;
    std::string source_;
    LawStatus status_ = LawStatus::Empty;
    bool hasTorque_ = false;
    LawError error_;
    long long errorCount_ = 0;
};

} // namespace servo
