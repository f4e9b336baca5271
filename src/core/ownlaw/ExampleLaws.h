#pragma once

#include <span>
#include <string>

namespace servo {

// A law to start from: its name for scripts, its caption and its source, whose comments are
// texts of the catalogue ("@1", "@2", ... in the source stand for them in turn).
struct ExampleLaw {
    const char* name;
    const char* caption;
    const char* source;
    std::span<const char* const> comments;
};

// The Jacobian transpose written out, a null-space law that keeps the elbow bent, and PD with
// gravity compensation as a torque law for the dynamics mode.
std::span<const ExampleLaw> exampleLaws();
// The example's source with its comments in the current language.
std::string exampleSource(const ExampleLaw& example);
// In English, whatever the language: what the lesson starts with.
std::string englishExampleSource(const ExampleLaw& example);

} // namespace servo
