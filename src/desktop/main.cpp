// The servo simulator: one window in which a robot arm is driven toward a target picked with
// the mouse. Start-up runs in order, then the run loop runs until the window is closed.

#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/RunLoop.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display server (and no platform chosen by hand) Qt would abort with a long
// message about reinstalling; one plain line says what is missing instead.
bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs("servo-simulator: needs a graphical desktop session (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\n",
                   stderr);
        return 1;
    }
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);

    servo::DesktopSimulator simulator;
    simulator.form.startUp();
    servo::RunLoop loop(simulator.lab, simulator.form);
    if (simulator.state.runState != servo::RunEnd) {
        loop.run();
    }
    return 0;
}
