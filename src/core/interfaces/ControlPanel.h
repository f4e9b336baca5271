#pragma once

#include <string>

namespace servo {

// The check boxes of the window, by their numbers: 1..3 choose the servo scheme
// ("Reverse Kinematic", "Forward Kin.(x,y)", "Forward Kin.(R,ang.)"), 4..7 the elbow
// configuration ("Elbow Down", "Elbow Up", "Elbow Right", "Elbow Left").
enum class CheckBox { Check1 = 1, Check2, Check3, Check4, Check5, Check6, Check7 };
inline constexpr int CheckBoxCount = 7;

// The wrist scroll bar's range, 0 (top: the hand pointing down) to WristScrollMax, and its
// steps: a line is 11.25 degrees, a page 45.
inline constexpr int WristScrollMax = 32767;
inline constexpr int WristScrollLine = 1000;
inline constexpr int WristScrollPage = 4000;
constexpr int clampedWristScroll(int position) {
    return position < 0 ? 0 : position > WristScrollMax ? WristScrollMax : position;
}

// What the simulation reads from or sets on the window's controls.
class ControlPanel {
public:
    virtual ~ControlPanel() = default;

    // Position of the wrist scroll bar, 0 (top) to WristScrollMax.
    virtual int wristScrollPosition() const = 0;
    virtual void setWristScrollPosition(int position) = 0;
    // Shows or hides the four elbow boxes.
    virtual void setElbowBoxesVisible(bool visible) = 0;

    virtual bool isChecked(CheckBox box) const = 0;
    // Sets a box's check mark. A change of an elbow box's state raises that box's click
    // handling (elbowBoxClicked) before this returns, as a user click would.
    virtual void setChecked(CheckBox box, bool checked) = 0;

    // Whole content of the explanation box.
    virtual void setExplanationText(const std::string& text) = 0;
    // Caption of the path button.
    virtual void setPathButtonCaption(const std::string& caption) = 0;

    // Lets the window handle every pending event now, then returns.
    virtual void yieldToEvents() = 0;
};

} // namespace servo
