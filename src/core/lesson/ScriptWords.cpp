#include "core/lesson/ScriptWords.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

namespace servo {

namespace {

constexpr std::size_t QuotedBytes = 40;

// The number a whole word spells in the C locale's notation, if it spells one; outOfRange
// when its magnitude is beyond double precision's range (too large or too close to zero).
struct Spelled {
    bool isNumber = false;
    double value = 0;
    bool outOfRange = false;
};

// The C library reads and writes numbers with the locale's decimal point (a window's program
// runs in the user's locale); words always have '.'.
std::string localePoint() {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? point : ".";
}

// The word with its '.' as the locale writes it, or nothing when it holds the locale's own
// decimal point (which a word must not use).
std::optional<std::string> inLocaleNotation(const std::string& word) {
    const std::string point = localePoint();
    if (point == ".") {
        return word;
    }
    if (word.find(point) != std::string::npos) {
        return std::nullopt;
    }
    std::string text = word;
    if (const std::size_t dot = text.find('.'); dot != std::string::npos) {
        text.replace(dot, 1, point);
    }
    return text;
}

std::string withDotPoint(std::string text) {
    const std::string point = localePoint();
    if (point != ".") {
        if (const std::size_t at = text.find(point); at != std::string::npos) {
            text.replace(at, point.size(), ".");
        }
    }
    return text;
}

Spelled spelledNumber(const std::string& word) {
    if (word.empty() || word.find_first_of(" \t\n\v\f\r") != std::string::npos) {
        return {};
    }
    const std::optional<std::string> text = inLocaleNotation(word);
    if (!text) {
        return {};
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size()) {
        return {};
    }
    return {true, value, errno == ERANGE};
}

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return withDotPoint(text);
}

// "1e+01" for 10: the shortest digits, but not the plainest text for a number of everyday size.
bool needlessExponent(const char* text, double value) {
    const double magnitude = std::fabs(value);
    return std::strchr(text, 'e') != nullptr && magnitude >= 1e-4 && magnitude < 1e15;
}

template <class Value> WordRead<Value> failure(std::string error) {
    return {std::nullopt, std::move(error)};
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

std::string argumentsError(const std::vector<std::string>& words, std::size_t count) {
    if (words.size() == count + 1) {
        return {};
    }
    return quoted(words[0]) + " takes " + std::to_string(count) + " argument" +
           (count == 1 ? "" : "s");
}

WordRead<float> readCoordinate(const std::string& word) {
    const WordRead<double> number =
        readNumber(word, -std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
    if (!number.value) {
        return failure<float>(number.error);
    }
    if (*number.value != 0 && std::fabs(*number.value) < std::numeric_limits<float>::min()) {
        return failure<float>(quoted(word) +
                              " is too close to zero for a single-precision "
                              "coordinate (use 0, or a magnitude of at least " +
                              shortNumber(std::numeric_limits<float>::min()) + ")");
    }
    return {std::strtof(inLocaleNotation(word)->c_str(), nullptr), {}};
}

WordRead<double> readNumber(const std::string& word, double lowest, double highest) {
    const Spelled number = spelledNumber(word);
    if (!number.isNumber) {
        return failure<double>("not a number: " + quoted(word));
    }
    if (number.outOfRange && std::fabs(number.value) < 1) {
        return failure<double>(quoted(word) + " is too close to zero for double precision");
    }
    if (!number.outOfRange && !std::isfinite(number.value)) {
        return failure<double>("not a finite number: " + quoted(word));
    }
    if (number.value < lowest || number.value > highest) {
        return failure<double>(quoted(word) + " is outside " + shortNumber(lowest) + ".." +
                               shortNumber(highest));
    }
    return {number.value, {}};
}

WordRead<long long> readInteger(const std::string& word, long long lowest, long long highest) {
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    const std::string range = std::to_string(lowest) + ".." + std::to_string(highest);
    if (stop == end && error == std::errc::result_out_of_range) {
        return failure<long long>(quoted(word) + " is outside " + range);
    }
    if (error != std::errc{} || stop != end) {
        return failure<long long>("not a whole number: " + quoted(word));
    }
    if (value < lowest || value > highest) {
        return failure<long long>(quoted(word) + " is outside " + range);
    }
    return {value, {}};
}

std::string exactNumber(double value) {
    char text[40];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value && !needlessExponent(text, value)) {
            break;
        }
    }
    return withDotPoint(text);
}

std::string exactCoordinate(float value) {
    char text[40];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value && !needlessExponent(text, value)) {
            break;
        }
    }
    return withDotPoint(text);
}

} // namespace servo
