#pragma once

#include "core/lab/Lab.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

namespace servo {

class Form1;

// The simulator's main loop. Each turn: let the window handle its pending events, present the
// frame and wait, still handling events, until the display's next frame is due; then, by the
// run state, end (returns) or run the passes the lab has due by the clock (one a frame at the
// normal speed on a 60 Hz display), so that an idle simulator costs little.
class RunLoop {
public:
    RunLoop(Lab& lab, Form1& form);

    // Runs until the run state is "end" (the window was closed).
    void run();
    // One turn of the loop: events, present, wait for the frame, the pass. False, with no
    // pass run, once the run state is "end".
    bool turn();

    // Frames per second the loop paces itself to; the screen's refresh rate by default. An
    // infinite rate runs the loop unpaced, each turn counted as a 60th of a second (for tests).
    void setFrameRate(double framesPerSecond);
    // Turns that reached the lab so far.
    long long passes() const { return passes_; }
    static constexpr double UnpacedTurnSeconds = 1.0 / 60;
    // Called after each turn's passes with the loop's clock in seconds: the window shows the
    // core's view then (see DesktopSimulator::afterFrame). Without it the window's controls
    // alone are shown and nothing is announced.
    void setAfterFrame(std::function<void(double nowSeconds)> afterFrame) {
        afterFrame_ = std::move(afterFrame);
    }

private:
    void doEvents();
    void refresh();
    void waitForNextFrame();
    bool ending() const;

    Lab& lab_;
    Form1& form_;
    SimulationState& state_;
    qint64 lastFrameNs_ = -1;
    QElapsedTimer clock_;
    QTimer wakeUp_;
    qint64 framePeriodNs_ = 1'000'000'000 / 60;
    qint64 nextFrameNs_ = 0;
    long long passes_ = 0;
    std::function<void(double)> afterFrame_;
};

} // namespace servo
