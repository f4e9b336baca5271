#include "core/teaching/ExplanationTexts.h"

namespace servo {

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

} // namespace servo
