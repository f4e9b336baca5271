#include "core/lesson/BuiltInChallenges.h"

namespace servo {

const BuiltInChallenge* builtInChallenge(std::string_view name) {
    for (const BuiltInChallenge& challenge : builtInChallenges()) {
        if (challenge.name == name) {
            return &challenge;
        }
    }
    return nullptr;
}

} // namespace servo
