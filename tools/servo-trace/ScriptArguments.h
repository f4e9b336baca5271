#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace servo::trace {

// A bad script line; what() says what is wrong with it.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words of a line, split at white space.
std::vector<std::string> splitWords(const std::string& line);

// A word as an error message quotes it: in single quotes, at most 40 bytes of it, bytes that
// are not printable ASCII as \xNN, and for a longer word how long it was.
std::string quoted(std::string_view word);

// Throws unless the command has exactly `count` arguments.
void expectArguments(const std::vector<std::string>& words, std::size_t count);

// A finite number that single precision holds (a pointer coordinate).
float parseCoordinate(const std::string& word);
// A finite number within lowest..highest.
double parseNumber(const std::string& word, double lowest, double highest);
// A whole number within lowest..highest.
long long parseInteger(const std::string& word, long long lowest, long long highest);

} // namespace servo::trace
