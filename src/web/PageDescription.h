#pragma once

#include <string>

namespace servo {

// Everything the page builds its window from, as one JSON object: the menus and their keys,
// the captions of every control, the lab's speeds, cues and gain range, projector-mode sizes,
// the notice and About texts, run states, the surface rectangle, colours, the wrist scroll
// range and the kinds of the encoded drawing operations.
std::string pageDescription();

} // namespace servo
