#pragma once

#include "core/state/ControlBoxes.h"
#include "core/state/SimulationState.h"

#include <array>
#include <string>

namespace servo {

// The window's controls as the simulation owns them: the seven boxes' check marks, whether the
// elbow boxes show, the wrist scroll bar's position, the explanation box's text and the path
// button's caption (both in English, as the simulation gives them). Front ends show this record
// after each pass and send the user's inputs to the simulation; they never hold these values.
class Controls {
public:
    explicit Controls(SimulationState& state) : state_(state) {}
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // Position of the wrist scroll bar, 0 (top) to WristScrollMax.
    int wristScrollPosition() const { return wristScroll_; }
    void setWristScrollPosition(int position) { wristScroll_ = position; }

    bool elbowBoxesVisible() const { return elbowBoxesVisible_; }
    void setElbowBoxesVisible(bool visible) { elbowBoxesVisible_ = visible; }

    bool isChecked(CheckBox box) const { return checked_[index(box)]; }
    // Sets a box's check mark. A change of an elbow box's mark runs that box's click handling
    // (elbowBoxClicked) before this returns, as a toolkit raises it on any change.
    void setChecked(CheckBox box, bool checked);
    // A click on a box: its check mark toggles.
    void toggle(CheckBox box) { setChecked(box, !isChecked(box)); }

    // The whole content of the explanation box; its line breaks are CR LF.
    const std::string& explanationText() const { return explanation_; }
    void setExplanationText(const std::string& text) { explanation_ = text; }
    // The path button's caption, one of ShowPathCaption and ClearPathCaption.
    const std::string& pathButtonCaption() const { return pathCaption_; }
    void setPathButtonCaption(const std::string& caption) { pathCaption_ = caption; }

private:
    static std::size_t index(CheckBox box) { return static_cast<std::size_t>(box); }

    SimulationState& state_;
    int wristScroll_ = 0;
    bool elbowBoxesVisible_ = true;
    std::array<bool, CheckBoxCount + 1> checked_{}; // by box number; [0] unused
    std::string explanation_;
    std::string pathCaption_ = ShowPathCaption;
};

} // namespace servo
