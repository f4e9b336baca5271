#include "headless/HeadlessPanel.h"

#include "controls/ControlActions.h"

namespace servo {

void HeadlessPanel::setChecked(CheckBox box, bool checked) {
    if (checked_[index(box)] == checked) {
        return;
    }
    checked_[index(box)] = checked;
    if (box >= CheckBox::Check4) {
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
