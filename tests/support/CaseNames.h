#pragma once

#include <cstdio>
#include <string>

namespace servo::testing {

// A number as part of a test name, which takes only letters, digits and '_': "-0.25" becomes
// "minus0_25", "1e+06" becomes "1e06".
inline std::string numberName(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    std::string name;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '-') {
            name += "minus";
        } else if (*c == '.') {
            name += '_';
        } else if (*c != '+') {
            name += *c;
        }
    }
    return name;
}

// A point as part of a test name: "x30_yminus40".
inline std::string pointName(double x, double y) {
    return "x" + numberName(x) + "_y" + numberName(y);
}

} // namespace servo::testing
