#pragma once

#include "core/lesson/ScriptWords.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace servo::trace {

// A bad script line; what() says what is wrong with it, line() which line it is when that is
// not the one being run (0).
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& what, long line = 0)
        : std::runtime_error(what), line_(line) {}
    long line() const { return line_; }

private:
    long line_;
};

// Throws unless the command has exactly `count` arguments.
void expectArguments(const std::vector<std::string>& words, std::size_t count);

// The value a word reads as (see ScriptWords), or a ScriptError.
float parseCoordinate(const std::string& word);
double parseNumber(const std::string& word, double lowest, double highest);
long long parseInteger(const std::string& word, long long lowest, long long highest);

} // namespace servo::trace
