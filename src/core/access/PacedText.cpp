#include "core/access/PacedText.h"

namespace servo {

std::optional<std::string> PacedText::offer(const std::string& text, double nowSeconds) {
    if (told_ == text || (toldAt_ && nowSeconds - *toldAt_ < gap_)) {
        return std::nullopt;
    }
    told_ = text;
    toldAt_ = nowSeconds;
    return text;
}

} // namespace servo
