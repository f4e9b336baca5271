#pragma once

#include <string>
#include <string_view>

namespace servo {

// Line break of the explanation texts: carriage return, line feed.
inline constexpr const char* CrLf = "\r\n";

// A text written with '\n' (as the catalogue has it) with the explanation box's CR LF breaks.
std::string withCrLf(std::string_view text);

} // namespace servo
