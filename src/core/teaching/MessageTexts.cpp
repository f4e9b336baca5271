#include "core/teaching/MessageTexts.h"

namespace servo {

// SERVO_VERSION comes from the project's version in the top CMakeLists.txt.
const char* programVersion() {
    return SERVO_VERSION;
}

} // namespace servo
