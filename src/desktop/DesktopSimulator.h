#pragma once

#include "core/lab/Lab.h"
#include "core/lesson/Lesson.h"
#include "core/simulation/Simulation.h"
#include "core/state/SimulationState.h"
#include "desktop/Form1.h"
#include "desktop/PersistentCanvas.h"

namespace servo {

// The simulator's parts put together as the program runs them: the state, the controls' record,
// the canvas, the window, the simulation (its grid yielding to the window's events), its lab and
// the lesson the user drives it through, the lab's menu and panel attached to the window. Start-up
// is left to the caller (form.startUp() with its notice, or a quiet one in tests), and so is the
// run loop.
struct DesktopSimulator {
    SimulationState state;
    Controls controls{state};
    PersistentCanvas canvas;
    Form1 form{state, controls, canvas};
    Simulation simulation{state, canvas, controls};
    Lab lab{simulation};
    Lesson lesson{lab};

    DesktopSimulator() {
        simulation.setYield([this] { form.yieldToEvents(); });
        form.attachLab(lesson);
    }
    ~DesktopSimulator() { form.detachLab(); } // the panel goes before the lab it shows
    DesktopSimulator(const DesktopSimulator&) = delete;
    DesktopSimulator& operator=(const DesktopSimulator&) = delete;
};

} // namespace servo
