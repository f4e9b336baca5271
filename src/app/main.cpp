// The servo simulator: one window in which a robot arm is driven toward a target picked with
// the mouse. Start-up runs in order, then the run loop runs until the window is closed.

#include "app/PersistentCanvas.h"
#include "app/RunLoop.h"
#include "controls/ControlActions.h"
#include "state/SimulationState.h"
#include "ui/AppSetup.h"
#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);

    servo::SimulationState state;
    servo::PersistentCanvas canvas;
    servo::Form1 form(state, canvas);
    servo::startUp(state, form, form);
    servo::RunLoop loop(state, canvas, form.drawingArea(), form);
    if (state.runState != servo::RunEnd) {
        loop.run();
    }
    return 0;
}
