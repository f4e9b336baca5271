#include "headless/HeadlessPanel.h"

#include "core/servo/ElbowConfigurations.h"
#include "core/simulation/Handlers.h"

namespace servo {

void HeadlessPanel::setChecked(CheckBox box, bool checked) {
    if (checked_[index(box)] == checked) {
        return;
    }
    checked_[index(box)] = checked;
    if (elbowConfigurationOf(box) != nullptr) {
        elbowBoxClicked(state_, *this, box);
    }
}

void HeadlessPanel::yieldToEvents() {
    ++yields_;
    if (onYield_) {
        onYield_();
    }
}

} // namespace servo
