#pragma once

#include "core/language/Translation.h"

#include <string>

namespace servo {

// The start-up notice and the About box: titles and texts, lines separated by '\n'.
inline constexpr const char* NoticeTitle = N_("Servo Simulator");
inline constexpr const char* NoticeText =
    N_("Press or drag the mouse on the picture to give the arm a target.\n"
       "Choose a servo scheme on the left and watch how the arm follows it.");
inline constexpr const char* AboutTitle = N_("ABOUT");

// Five lines, four line breaks, none at the end; the last names what the front end is built
// with ("Qt", "WebAssembly").
inline std::string aboutText(const std::string& builtWith) {
    return filled(tr("This program written by:\n"
                     "the Servo Simulator developers,\n"
                     "as a teaching aid for servo control of robot arms:\n"
                     "reverse kinematic, forward x,y and forward R,theta.\n"
                     "Built with C++ and %s."),
                  {builtWith});
}

} // namespace servo
