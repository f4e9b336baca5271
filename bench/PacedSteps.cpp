// Steps per second of wall time the window's run loop takes at several display frame rates
// (paced the way the window tests pace it), the x,y scheme hunting so that every step counts.
// Prints a Markdown table; the goal is 60 steps a second at every rate.

#include "QuietStartUp.h"
#include "core/simulation/Handlers.h"
#include "desktop/AppSetup.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/RunLoop.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    servo::prepareApplicationDefaults();
    QApplication application(argc, argv);
    servo::prepareApplication(application);
    servo::DesktopSimulator simulator;
    servo::testing::quietStartUp(simulator.state, simulator.form);
    servo::servoBoxPressed(simulator.state, simulator.controls, servo::CheckBox::Check2);
    simulator.state.targetX = 420;
    simulator.state.targetY = 70;
    servo::RunLoop loop(simulator.lab, simulator.form);
    constexpr qint64 Milliseconds = 4000;
    std::printf("| display | frames per second | steps per second |\n|---|---|---|\n");
    for (const double hertz : {30.0, 60.0, 144.0, 240.0}) {
        loop.setFrameRate(hertz);
        for (int i = 0; i < 10; ++i) { // the pacer and the display settle
            loop.turn();
        }
        const long long framesBefore = loop.passes();
        const std::size_t stepsBefore = simulator.lab.history().version();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < Milliseconds) {
            loop.turn();
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        std::printf("| %.0f Hz | %.1f | %.1f |\n", hertz,
                    static_cast<double>(loop.passes() - framesBefore) / seconds,
                    static_cast<double>(simulator.lab.history().version() - stepsBefore) / seconds);
    }
    return 0;
}
