#pragma once

#include "core/language/Translation.h"

#include <string>

namespace servo {

// The start-up notice and the About box: titles and texts, lines separated by '\n'.
inline constexpr const char* NoticeTitle = N_("Servo Simulator");
inline constexpr const char* NoticeText =
    N_("Press or drag the mouse on the picture to give the arm a target.\n"
       "Choose a servo scheme on the left and watch how the arm follows it.");
// The notice on a touch screen, where a finger gives the target.
inline constexpr const char* TouchNoticeText =
    N_("Press or drag a finger on the picture to give the arm a target.\n"
       "Choose a servo scheme on the left and watch how the arm follows it.");
inline constexpr const char* AboutTitle = N_("ABOUT");

// The program's version, the project's ("1.0.0").
const char* programVersion();

// Five lines, four line breaks, none at the end; the last gives the version and names what the
// front end is built with ("Qt", "WebAssembly").
inline std::string aboutText(const std::string& builtWith) {
    return filled(tr("This program written by:\n"
                     "the Servo Simulator developers,\n"
                     "as a teaching aid for servo control of robot arms:\n"
                     "three servo boxes and three Jacobian schemes in the lab.\n"
                     "Version %1$s, built with C++ and %2$s."),
                  {programVersion(), builtWith});
}

} // namespace servo
