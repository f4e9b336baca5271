#pragma once

#include <string>

namespace servo {

// The "##.##" read-out format: rounded to two decimals (exact halves away from zero), every
// integer digit but no leading zero, the decimal point always, decimals without trailing
// zeros, "-" before a negative value. 25 -> "25.", -0.25 -> "-.25", 0 -> ".". A value that
// rounds to zero shows no sign; the decimal point is '.' whatever the locale.
std::string formatErrorReadout(double value);

// A value with a fixed number of decimals and '.' as the decimal point whatever the locale;
// empty for a value too long to print.
std::string formatFixed(double value, int decimals);

// One decimal as the announcements speak a value: "25.0", "-3.4"; a value that rounds to zero
// is "0.0", without a sign.
std::string formatOneDecimal(double value);

} // namespace servo
