#pragma once

#include "controls/ControlActions.h"
#include "ui/Form1.h"

namespace servo {

// Start-up that shows the window as it is, without maximising it or waiting for anybody to
// dismiss the start-up notice; for measurements and tests.
class QuietStartUp : public StartUpWindow {
public:
    explicit QuietStartUp(Form1& form) : form_(form) {}
    void maximiseWindow() override {}
    void showWindow() override { form_.show(); }
    void showStartUpNotice() override {}
    void setDrawingScale() override {}

private:
    Form1& form_;
};

} // namespace servo
