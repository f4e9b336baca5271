#pragma once

#include <optional>
#include <string>

namespace servo {

// A text a screen reader hears whenever it changes (an accessible name), paced: told at most
// once every `gapSeconds`, the newest value winning, and the value it settles on always told
// once the gap has passed. A front end offers the text after every frame.
class PacedText {
public:
    explicit PacedText(double gapSeconds) : gap_(gapSeconds) {}

    // The text to tell now (`nowSeconds` on any steady clock), or nothing: it is what was last
    // told, or the last telling was too recent.
    std::optional<std::string> offer(const std::string& text, double nowSeconds);

private:
    double gap_;
    std::optional<std::string> told_;
    std::optional<double> toldAt_;
};

} // namespace servo
