#include "ScriptArguments.h"

namespace servo::trace {

namespace {

template <class Value> Value valueOf(const WordRead<Value>& read) {
    if (!read.value) {
        throw ScriptError(read.error);
    }
    return *read.value;
}

} // namespace

void expectArguments(const std::vector<std::string>& words, std::size_t count) {
    if (std::string error = argumentsError(words, count); !error.empty()) {
        throw ScriptError(error);
    }
}

float parseCoordinate(const std::string& word) {
    return valueOf(readCoordinate(word));
}

double parseNumber(const std::string& word, double lowest, double highest) {
    return valueOf(readNumber(word, lowest, highest));
}

long long parseInteger(const std::string& word, long long lowest, long long highest) {
    return valueOf(readInteger(word, lowest, highest));
}

} // namespace servo::trace
