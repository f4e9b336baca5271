#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace servo {

// The challenges the program carries, along the lesson path (easy to hard): each file's name
// without ".servo" and its text, as data/challenges holds them.
struct BuiltInChallenge {
    std::string name;
    std::string text;
};
const std::vector<BuiltInChallenge>& builtInChallenges();
// The one of that name, or null.
const BuiltInChallenge* builtInChallenge(std::string_view name);

} // namespace servo
