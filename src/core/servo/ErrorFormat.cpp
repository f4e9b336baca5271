#include "core/servo/ErrorFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace servo {

std::string formatErrorReadout(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    double magnitude = std::fabs(value);
    // A value exactly halfway between two hundredths has a binary fraction of .125, .375,
    // .625 or .875; nudge it up by one unit in the last place so that it rounds away from
    // zero (below 2^40 that unit is far smaller than the distance to the next hundredth).
    const double fraction = magnitude - std::floor(magnitude);
    const double eighths = fraction * 8;
    if (magnitude < 0x1p40 && eighths == std::floor(eighths) &&
        static_cast<long>(eighths) % 2 == 1) {
        magnitude = std::nextafter(magnitude, std::numeric_limits<double>::infinity());
    }

    char digits[400];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed, 2);
    if (error != std::errc{}) {
        return "?";
    }
    std::string text(digits, end); // "I.DD"
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    }
    const bool negative = value < 0 && text != ".";
    return negative ? "-" + text : text;
}

} // namespace servo
