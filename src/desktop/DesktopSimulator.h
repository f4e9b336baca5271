#pragma once

#include "core/lab/Lab.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "core/simulation/Simulation.h"
#include "core/state/SimulationState.h"
#include "desktop/ChallengesDialog.h"
#include "desktop/Form1.h"
#include "desktop/LabMenu.h"
#include "desktop/LabPanel.h"
#include "desktop/LawEditor.h"
#include "desktop/LessonFiles.h"
#include "desktop/PersistentCanvas.h"
#include "desktop/SoundOutput.h"
#include "desktop/Voicing.h"
#include "desktop/WindowLooks.h"

namespace servo {

// The simulator's parts put together as the program runs them: the state, the controls' record,
// the canvas, the simulation (its grid yielding to the window's events), its lab and the lesson
// the user drives it through; the window, the Lab menu after "About", the lab panel (closed),
// the window's looks by the lab's settings, the lesson's files and the Challenges dialog. The
// window and its parts go before the lesson they show. The sound and voicing play the view while
// the user has them on. Start-up is left to the caller (form.startUp() with its notice, or a quiet
// one in tests), and so is the run loop.
struct DesktopSimulator {
    SimulationState state;
    Controls controls{state};
    PersistentCanvas canvas;
    Simulation simulation{state, canvas, controls};
    Lab lab{simulation};
    Lesson lesson{lab};
    Form1 form{state, controls, canvas, lesson};
    LabMenu labMenu{form, lesson};
    LabPanel labPanel{form, lesson, labMenu, state};
    LawEditor lawEditor{&form, lesson};
    WindowLooks looks{form, labPanel, canvas, lab};
    LessonFiles files{form, lesson, form.drawingArea(),
                      [this](std::optional<bool> open) { return panelOpen(open); }};
    ChallengesDialog challenges{&form, lesson, files};

    Viewer viewer;
    SoundOutput sound;
    Voicing voicing;

    DesktopSimulator();
    DesktopSimulator(const DesktopSimulator&) = delete;
    DesktopSimulator& operator=(const DesktopSimulator&) = delete;

    // After each frame of the run loop (`nowSeconds` on its steady clock): the core's view of
    // the lesson shown in the window, the panel and the Lab menu, what a screen reader is to
    // hear told (and voicing to speak), and the sound to play.
    void afterFrame(double nowSeconds);

private:
    void show(const View& view);
    // What a Lab menu item does in the window after the lesson did its part: the panel, the
    // files, the keys help, the description, the language; then everything shown again.
    void performed(const MenuItem& item);
    // The keyboard focus, after an experiment is opened, on the control of the scheme in
    // force: its servo box, else (a lab scheme) the panel's scheme box, or the picture while
    // the panel is closed.
    void focusSchemeInForce();
    // Whether the panel is open; given a value, opens or closes it first.
    bool panelOpen(std::optional<bool> open);
};

} // namespace servo
