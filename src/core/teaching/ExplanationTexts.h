#pragma once

#include "core/language/Translation.h"

#include "core/state/SimulationState.h"

namespace servo {

// Line break of the explanation texts: carriage return, line feed.
inline constexpr const char* CrLf = "\r\n";

// Fills reverseKinematicText, forwardXYText and forwardRThetaText (and the lab schemes' three
// texts, in the same shape): an opening paragraph, an
// empty line, the error equations (and legend), an empty line and a closing paragraph, each
// line followed by CR LF except the last line of the x,y text.
void buildExplanationTexts(SimulationState& state);

} // namespace servo
