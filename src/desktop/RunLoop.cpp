#include "desktop/RunLoop.h"

#include "core/lesson/Lesson.h"
#include "desktop/Form1.h"

#include <QCoreApplication>
#include <QScreen>

#include <chrono>
#include <cmath>

namespace servo {

RunLoop::RunLoop(Lab& lab, Form1& form) : lab_(lab), form_(form), state_(form.simulationState()) {
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
    const QScreen* screen = form_.screen();
    const double rate = screen != nullptr ? screen->refreshRate() : 0;
    setFrameRate(rate >= 1 && rate <= 1000 ? rate : 60);
}

void RunLoop::setFrameRate(double framesPerSecond) {
    framePeriodNs_ = std::isinf(framesPerSecond) ? 0 : static_cast<qint64>(1e9 / framesPerSecond);
}

void RunLoop::run() {
    while (turn()) {
    }
}

bool RunLoop::turn() {
    if (!clock_.isValid()) {
        clock_.start();
        nextFrameNs_ = 0;
    }
    doEvents();
    if (ending()) {
        return false;
    }
    refresh();
    if (ending()) {
        return false;
    }
    ++passes_;
    const qint64 now = clock_.nsecsElapsed();
    double elapsed = lastFrameNs_ < 0 ? 0 : static_cast<double>(now - lastFrameNs_) * 1e-9;
    lastFrameNs_ = now;
    if (framePeriodNs_ == 0) {
        elapsed = UnpacedTurnSeconds;
    }
    lab_.frame(elapsed);
    if (afterFrame_) {
        afterFrame_(static_cast<double>(now) * 1e-9);
    } else {
        form_.showControls();
    }
    return true;
}

bool RunLoop::ending() const {
    return state_.runState == RunEnd;
}

void RunLoop::doEvents() {
    QCoreApplication::processEvents();
}

void RunLoop::refresh() {
    form_.presentFrame();
    waitForNextFrame();
}

void RunLoop::waitForNextFrame() {
    if (framePeriodNs_ == 0) {
        return;
    }
    const qint64 now = clock_.nsecsElapsed();
    if (nextFrameNs_ <= now - framePeriodNs_) {
        nextFrameNs_ = now; // fell behind (or first frame): no burst of catch-up cycles
    }
    nextFrameNs_ += framePeriodNs_;
    while (!ending()) {
        const qint64 remaining = nextFrameNs_ - clock_.nsecsElapsed();
        if (remaining <= 0) {
            break;
        }
        // The timer only wakes the wait; the cycle runs from this loop, not from a timer.
        wakeUp_.start(std::chrono::milliseconds((remaining + 999'999) / 1'000'000));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    wakeUp_.stop();
}

} // namespace servo
