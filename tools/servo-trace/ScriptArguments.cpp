#include "ScriptArguments.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace servo::trace {

namespace {

constexpr std::size_t QuotedBytes = 40;

// The number a whole word spells in the C locale's notation, if it spells one; outOfRange
// when its magnitude is beyond double precision's range (too large or too close to zero).
struct Spelled {
    bool isNumber = false;
    double value = 0;
    bool outOfRange = false;
};

Spelled spelledNumber(const std::string& word) {
    if (word.empty() || word.find_first_of(" \t\n\v\f\r") != std::string::npos) {
        return {};
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size()) {
        return {};
    }
    return {true, value, errno == ERANGE};
}

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string quoted(std::string_view word) {
    std::string text = "'";
    for (const char c : word.substr(0, QuotedBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    text += '\'';
    if (word.size() > QuotedBytes) {
        text += "... (" + std::to_string(word.size()) + " bytes in all)";
    }
    return text;
}

void expectArguments(const std::vector<std::string>& words, std::size_t count) {
    if (words.size() != count + 1) {
        throw ScriptError(quoted(words[0]) + " takes " + std::to_string(count) + " argument" +
                          (count == 1 ? "" : "s"));
    }
}

float parseCoordinate(const std::string& word) {
    const double value =
        parseNumber(word, -std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
    if (value != 0 && std::fabs(value) < std::numeric_limits<float>::min()) {
        throw ScriptError(quoted(word) +
                          " is too close to zero for a single-precision "
                          "coordinate (use 0, or a magnitude of at least " +
                          shortNumber(std::numeric_limits<float>::min()) + ")");
    }
    // Rounded from the decimal text once, as a single-precision parse would.
    return std::strtof(word.c_str(), nullptr);
}

double parseNumber(const std::string& word, double lowest, double highest) {
    const Spelled number = spelledNumber(word);
    if (!number.isNumber) {
        throw ScriptError("not a number: " + quoted(word));
    }
    if (number.outOfRange && std::fabs(number.value) < 1) {
        throw ScriptError(quoted(word) + " is too close to zero for double precision");
    }
    if (!number.outOfRange && !std::isfinite(number.value)) {
        throw ScriptError("not a finite number: " + quoted(word));
    }
    if (number.value < lowest || number.value > highest) {
        throw ScriptError(quoted(word) + " is outside " + shortNumber(lowest) + ".." +
                          shortNumber(highest));
    }
    return number.value;
}

long long parseInteger(const std::string& word, long long lowest, long long highest) {
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    const std::string range = std::to_string(lowest) + ".." + std::to_string(highest);
    if (stop == end && error == std::errc::result_out_of_range) {
        throw ScriptError(quoted(word) + " is outside " + range);
    }
    if (error != std::errc{} || stop != end) {
        throw ScriptError("not a whole number: " + quoted(word));
    }
    if (value < lowest || value > highest) {
        throw ScriptError(quoted(word) + " is outside " + range);
    }
    return value;
}

} // namespace servo::trace
