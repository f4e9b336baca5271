#include "core/servo/ErrorFormat.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

namespace servo {

std::string formatOneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::fabs(value) < 0.05 ? 0.0 : value);
    return text;
}

std::string formatFixed(double value, int decimals) {
    char digits[400];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    // Exact decimal conversion, correctly rounded, as printf's "%.*f" in the "C" locale; a
    // fifth of printf's time, and this runs for every read-out of every control cycle.
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (end.ec != std::errc{}) {
        return {};
    }
    return std::string(digits, end.ptr);
#else
    // Exact decimal conversion, correctly rounded; only the decimal point follows the locale,
    // and it is put back to '.' below.
    const int length = std::snprintf(digits, sizeof digits, "%.*f", decimals, value);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof digits) {
        return {};
    }
    const std::string_view printed(digits, static_cast<std::size_t>(length));
    const std::string_view localePoint = std::localeconv()->decimal_point;
    const std::size_t point =
        localePoint.empty() ? std::string_view::npos : printed.rfind(localePoint);
    std::string text(printed.substr(0, point));
    if (point != std::string_view::npos) {
        text += '.';
        text += printed.substr(point + localePoint.size());
    }
    return text;
#endif
}

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

    std::string text = formatFixed(magnitude, 2); // "I.DD"
    if (text.empty()) {
        return "?";
    }
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
