#pragma once

#include "core/interfaces/DrawingSurface.h"
#include "core/lab/Cues.h"
#include "core/lab/ErrorHistory.h"
#include "core/lab/ErrorPlot.h"
#include "core/lab/RaceArm.h"
#include "core/lab/Speeds.h"
#include "core/language/Translation.h"
#include "core/simulation/Simulation.h"

#include <array>
#include <functional>

namespace servo {

// The sound's volumes to choose from, percent of full scale.
inline constexpr std::array<const char*, 4> SoundVolumes{N_("25 %"), N_("50 %"), N_("75 %"),
                                                         N_("100 %")};
inline constexpr int DefaultSoundVolume = 1;
// The volume of an index of SoundVolumes, 0 to 1.
inline constexpr double soundVolumeOf(int index) {
    return 0.25 * (index + 1);
}

// The lab's settings besides the gain (which lives in the state, as the laws read it).
struct LabSettings {
    int speed = NormalSpeed; // index into Speeds
    CueSettings cues;
    bool projector = false;    // wide lines and large text for a projector
    bool highContrast = false; // the high-contrast colours (see ColourProfile)
    // The picture in true proportions (see PictureMap): one arm unit as long across as down.
    // Off, the picture stretches over its whole area, as the window always drew it. A look of
    // the screen the student has, like the colours: never in an experiment or a recording.
    bool trueProportions = false;
    // Each student's own, like the colours and the language: never in an experiment or a
    // recording, and kept by a reset.
    bool sound = false;              // the error tone and event sounds (see Sonifier)
    bool voicing = false;            // what a screen reader is told, spoken without one
    int volume = DefaultSoundVolume; // index into SoundVolumes
};

// The lab attached to a simulation: it paces the passes of each displayed frame by the clock,
// records every running cycle's errors, and draws the cues and the error plot. A front end
// drives it in place of calling the simulation's pass itself; at the normal speed the arm takes
// 60 steps a second on any display (one a frame at 60 Hz).
class Lab {
public:
    explicit Lab(Simulation& simulation);
    Lab(const Lab&) = delete;
    Lab& operator=(const Lab&) = delete;

    // One displayed frame, `elapsedSeconds` after the one before: the passes the speed has due
    // (none in some frames of a fast display; one while stopped, so that a step or a redraw is
    // never held back).
    void frame(double elapsedSeconds);

    // One pass of the simulation, between the pass hooks; frame() runs its passes through here.
    void pass();
    // Run before and after every pass (a recording counts them; a replay feeds its inputs in
    // before them). Either may be empty.
    void setPassHooks(std::function<void()> before, std::function<void()> after) {
        beforePass_ = std::move(before);
        afterPass_ = std::move(after);
    }

    void slower();
    void faster();
    void setSpeed(int index);

    // Everything as at start-up (see resetSimulation), gain 1 and the normal speed, the plot
    // emptied; the cues, projector mode, high contrast, true proportions and the race's scheme stay
    // as they are (the race starts again).
    void reset();

    // While a modal box (About) is open the simulation stands still: frames run no pass.
    void setModalOpen(bool open) { modalOpen_ = open; }
    bool modalOpen() const { return modalOpen_; }

    Simulation& simulation() { return simulation_; }
    const Simulation& simulation() const { return simulation_; }
    double gain() const { return simulation_.state().gain; }
    LabSettings& settings() { return settings_; }
    const LabSettings& settings() const { return settings_; }
    const ErrorHistory& history() const { return history_; }
    RaceArm& race() { return race_; }
    const RaceArm& race() const { return race_; }

    // The figures under the plot: the history's, and the manipulability while its cue is on.
    std::string figures() const;

    void drawCues(DrawingSurface& layer) const;
    void drawPlot(const PlotLayout& layout, DrawingSurface& surface) const;
    // True while any cue is on or a race runs (the front end then keeps a layer for them).
    bool anyCue() const;

private:
    Simulation& simulation_;
    LabSettings settings_;
    RaceArm race_;
    ErrorHistory history_;
    FramePacer pacer_;
    bool modalOpen_ = false;
    std::function<void()> beforePass_;
    std::function<void()> afterPass_;
};

} // namespace servo
