#pragma once

#include "core/simulation/Simulation.h"

#include <QElapsedTimer>
#include <QTimer>

namespace servo {

class DrawingArea;

// The simulator's main loop. Each pass: let the window handle its pending events, present the
// frame and wait, still handling events, until the display's next frame is due; then, by the
// run state, end (returns) or run the simulation's pass. One cycle per displayed frame, so every
// servo step is seen and an idle simulator costs little.
class RunLoop {
public:
    RunLoop(Simulation& simulation, DrawingArea& area);

    // Runs until the run state is "end" (the window was closed).
    void run();
    // One turn of the loop: events, present, wait for the frame, the pass. False, with no
    // pass run, once the run state is "end".
    bool turn();

    // Frames per second the loop paces itself to; the screen's refresh rate by default. An
    // infinite rate runs the loop unpaced (for tests).
    void setFrameRate(double framesPerSecond);
    // Passes run so far.
    long long passes() const { return passes_; }

private:
    void doEvents();
    void refresh();
    void waitForNextFrame();
    bool ending() const { return simulation_.state().runState == RunEnd; }

    Simulation& simulation_;
    DrawingArea& area_;
    QElapsedTimer clock_;
    QTimer wakeUp_;
    qint64 framePeriodNs_ = 1'000'000'000 / 60;
    qint64 nextFrameNs_ = 0;
    long long passes_ = 0;
};

} // namespace servo
