#pragma once

#include "core/language/Translation.h"

#include "core/state/ControlBoxes.h"

#include <array>

namespace servo {

// The four elbow configurations of the reverse kinematic servo, in box order. elbowPair and
// elbowChoice are the values the state takes when the box is checked.
struct ElbowConfiguration {
    CheckBox box;
    const char* caption; // the box's caption
    const char* name;    // one word, as scripts and reports name it
    int elbowPair;
    int elbowChoice;
};

inline constexpr std::array<ElbowConfiguration, 4> ElbowConfigurations{{
    {CheckBox::Check4, N_("Elbow Down"), "down", 0, 0},
    {CheckBox::Check5, N_("Elbow Up"), "up", 0, 1},
    {CheckBox::Check6, N_("Elbow Right"), "right", 1, 0},
    {CheckBox::Check7, N_("Elbow Left"), "left", 1, 1},
}};

// The configuration of an elbow box, or nullptr for any other box.
constexpr const ElbowConfiguration* elbowConfigurationOf(CheckBox box) {
    for (const ElbowConfiguration& configuration : ElbowConfigurations) {
        if (configuration.box == box) {
            return &configuration;
        }
    }
    return nullptr;
}

} // namespace servo
