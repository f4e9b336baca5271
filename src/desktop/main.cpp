// The servo simulator: one window in which a robot arm is driven toward a target picked with
// the mouse. Start-up runs in order, then the run loop runs until the window is closed.

#include "core/language/Translation.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/RunLoop.h"

#include <QApplication>
#include <QStringList>

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

    // An experiment file as the only argument (the file manager opens .servo files so) is applied
    // once the notice is dismissed; a bad one is told and the program starts as usual.
    const QStringList arguments = QApplication::arguments();
    // The texts in the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), English otherwise.
    servo::setLanguage(servo::languageOfEnvironment());
    servo::DesktopSimulator simulator;
    simulator.form.startUp();
    if (arguments.size() == 2 && simulator.state.runState != servo::RunEnd) {
        simulator.files.openExperimentFile(arguments[1]);
    } else if (arguments.size() > 2) {
        std::fputs("usage: servo-simulator [EXPERIMENT.servo]\n", stderr);
    }
    servo::RunLoop loop(simulator.lab, simulator.form);
    loop.setAfterFrame([&simulator](double now) { simulator.afterFrame(now); });
    if (simulator.state.runState != servo::RunEnd) {
        loop.run();
    }
    return 0;
}
