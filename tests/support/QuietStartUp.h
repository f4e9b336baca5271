#pragma once

#include "core/simulation/StartUp.h"
#include "desktop/Form1.h"

namespace servo::testing {

// Start-up that shows the window as it is, without maximising it or showing the start-up
// notice; for measurements and tests.
class QuietStartUp : public StartUpWindow {
public:
    explicit QuietStartUp(Form1& form) : form_(form) {}
    void maximiseWindow() override {}
    void showWindow() override { form_.show(); }
    void setDrawingScale() override { form_.setDrawingScale(); }

private:
    Form1& form_;
};

inline void quietStartUp(SimulationState& state, Form1& form) {
    QuietStartUp window(form);
    startUpUntilNotice(state, form.controls(), window);
    startUpAfterNotice(state, form.controls(), window);
    form.showControls();
}

} // namespace servo::testing
