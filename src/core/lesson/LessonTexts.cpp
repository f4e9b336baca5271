#include "core/lesson/LessonTexts.h"

namespace servo {

std::string largerThan(long long bytes) {
    return filled(tr(LargerThanText), {std::to_string(bytes / (1024 * 1024))});
}

} // namespace servo
