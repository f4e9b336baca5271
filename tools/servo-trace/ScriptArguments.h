#pragma once

#include "core/lesson/ScriptWords.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace servo::trace {

// A bad script line; what() says what is wrong with it.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws unless the command has exactly `count` arguments.
void expectArguments(const std::vector<std::string>& words, std::size_t count);

// The value a word reads as (see ScriptWords), or a ScriptError.
float parseCoordinate(const std::string& word);
double parseNumber(const std::string& word, double lowest, double highest);
long long parseInteger(const std::string& word, long long lowest, long long highest);

} // namespace servo::trace
