#include "core/lesson/ScriptWords.h"

#include "core/language/Translation.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

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

std::string withDotPoint(const std::string& text) {
    const std::string point = localePoint();
    const std::size_t at = point == "." ? std::string::npos : text.find(point);
    if (at == std::string::npos) {
        return text;
    }
    // Put together anew rather than replaced in place: GCC 12 warns of an overlap that
    // replace() cannot have once it is inlined here.
    return text.substr(0, at) + "." + text.substr(at + point.size());
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

// "1e+01" for 10: the shortest digits, but not the plainest text for a number of everyday size.
bool needlessExponent(const char* text, double value) {
    const double magnitude = std::fabs(value);
    return std::strchr(text, 'e') != nullptr && magnitude >= 1e-4 && magnitude < 1e15;
}

// "'25' is outside 0..20"
std::string outside(const std::string& word, const std::string& lowest,
                    const std::string& highest) {
    return filled(tr("%s is outside %s..%s"), {quoted(word), lowest, highest});
}

template <class Value> WordRead<Value> failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

} // namespace

std::vector<std::string> splitWords(const std::string& line) {
    constexpr const char* space = " \t\n\v\f\r";
    std::vector<std::string> words;
    for (std::size_t start = line.find_first_not_of(space); start != std::string::npos;) {
        const std::size_t end = std::min(line.find_first_of(space, start), line.size());
        words.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(space, end);
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
        text += filled(tr("... (%s bytes in all)"), {std::to_string(word.size())});
    }
    return text;
}

std::string lineWhere(long lineNumber) {
    return filled(tr("line %s"), {std::to_string(lineNumber)});
}

std::string argumentsError(const std::vector<std::string>& words, std::size_t count) {
    if (words.size() == count + 1) {
        return {};
    }
    return filled(trn("%s takes %s argument", "%s takes %s arguments", static_cast<long>(count)),
                  {quoted(words[0]), std::to_string(count)});
}

WordRead<float> readCoordinate(const std::string& word) {
    // Any finite decimal text, or one beyond double precision's range, is read on: its
    // single-precision value decides.
    const WordRead<double> number = readNumber(word, -std::numeric_limits<double>::infinity(),
                                               std::numeric_limits<double>::infinity());
    if (!number.value) {
        return failure<float>(number.error);
    }
    // Rounded to single precision as the pointer's coordinates are: the largest float's own
    // shortest text (3.4028235e+38) lies a little above it and still rounds to it.
    const float coordinate = std::strtof(inLocaleNotation(word)->c_str(), nullptr);
    if (!std::isfinite(coordinate)) {
        const float largest = std::numeric_limits<float>::max();
        return failure<float>(outside(word, exactCoordinate(-largest), exactCoordinate(largest)));
    }
    if (*number.value != 0 && std::fabs(coordinate) < std::numeric_limits<float>::min()) {
        return failure<float>(
            filled(tr("%s is too close to zero for a single-precision "
                      "coordinate (use 0, or a magnitude of at least %s)"),
                   {quoted(word), exactCoordinate(std::numeric_limits<float>::min())}));
    }
    return {coordinate, {}};
}

WordRead<bool> readEither(const std::string& word, const char* first, const char* second) {
    if (word != first && word != second) {
        return failure<bool>(filled(tr("expected %s or %s, not %s"), {first, second, quoted(word)}));
    }
    return {word == first, {}};
}

WordRead<double> readNumber(const std::string& word, double lowest, double highest) {
    const Spelled number = spelledNumber(word);
    if (!number.isNumber) {
        return failure<double>(filled(tr("not a number: %s"), {quoted(word)}));
    }
    if (number.outOfRange && std::fabs(number.value) < 1) {
        return failure<double>(
            filled(tr("%s is too close to zero for double precision"), {quoted(word)}));
    }
    if (!number.outOfRange && !std::isfinite(number.value)) {
        return failure<double>(filled(tr("not a finite number: %s"), {quoted(word)}));
    }
    if (number.value < lowest || number.value > highest) {
        return failure<double>(outside(word, exactNumber(lowest), exactNumber(highest)));
    }
    return {number.value, {}};
}

WordRead<long long> readInteger(const std::string& word, long long lowest, long long highest) {
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    const bool tooLarge = stop == end && error == std::errc::result_out_of_range;
    if (!tooLarge && (error != std::errc{} || stop != end)) {
        return failure<long long>(filled(tr("not a whole number: %s"), {quoted(word)}));
    }
    if (tooLarge || value < lowest || value > highest) {
        return failure<long long>(outside(word, std::to_string(lowest), std::to_string(highest)));
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

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string percentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

std::string percentEncoded(std::string_view text) {
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || c == '.' || c == ',' || c == '-' || c == '_') {
            encoded += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            encoded += escaped;
        }
    }
    return encoded;
}

std::string lawArgument(std::string_view source) {
    if (source.empty()) {
        return "-";
    }
    return source == "-" ? "%2D" : percentEncoded(source);
}

std::string lawOfArgument(std::string_view argument) {
    return argument == "-" ? std::string() : percentDecoded(argument);
}

} // namespace servo
