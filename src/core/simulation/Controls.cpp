#include "core/simulation/Controls.h"

#include "core/servo/ElbowConfigurations.h"
#include "core/simulation/Handlers.h"

namespace servo {

void Controls::setChecked(CheckBox box, bool checked) {
    if (isChecked(box) == checked) {
        return;
    }
    checked_[index(box)] = checked;
    if (elbowConfigurationOf(box) != nullptr) {
        elbowBoxClicked(state_, *this, box);
    }
}

} // namespace servo
