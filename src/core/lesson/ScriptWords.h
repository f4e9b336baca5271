#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// The words of script and experiment lines: how they are split, how a bad word is quoted in a
// message, how numbers are read from them and written to them so that they read back exactly.
// Nothing here throws: a word that does not read gives its error text instead.

template <class Value> struct WordRead {
    std::optional<Value> value;
    std::string error; // what is wrong with the word when there is no value
};

// The words of a line, split at white space.
std::vector<std::string> splitWords(const std::string& line);

// A word as an error message quotes it: in single quotes, at most 40 bytes of it, bytes that
// are not printable ASCII as \xNN, and for a longer word how long it was.
std::string quoted(std::string_view word);

// "line 3": where a text's line stands, as a message names it (1 for the first).
std::string lineWhere(long lineNumber);

// Empty when a command's words hold exactly `count` arguments, else what is wrong.
std::string argumentsError(const std::vector<std::string>& words, std::size_t count);

// A finite number that single precision holds (a pointer coordinate), rounded from the decimal
// text once.
WordRead<float> readCoordinate(const std::string& word);
// A finite number within lowest..highest, in the C locale's notation.
WordRead<double> readNumber(const std::string& word, double lowest, double highest);
// One of two words: true for the first, false for the second ("on" or "off").
WordRead<bool> readEither(const std::string& word, const char* first, const char* second);
// A whole number within lowest..highest.
WordRead<long long> readInteger(const std::string& word, long long lowest, long long highest);

// The shortest decimal text that reads back as exactly this number ('.' decimal point).
std::string exactNumber(double value);
std::string exactCoordinate(float value);

// A link's percent-encoding: every byte but letters, digits and . , - _ as %XX; decoding also
// reads '+' as a space.
std::string percentEncoded(std::string_view text);
std::string percentDecoded(std::string_view text);

// A student's law as one word of a line ("own-law WORD", an experiment's own=WORD): its source
// percent-encoded, "-" for none; and back.
std::string lawArgument(std::string_view source);
std::string lawOfArgument(std::string_view argument);

} // namespace servo
