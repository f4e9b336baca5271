#pragma once

#include "core/interfaces/ControlPanel.h"
#include "core/state/SimulationState.h"

#include <array>
#include <functional>
#include <string>

namespace servo {

// The window's controls without a window: keeps their values and raises an elbow box's click
// handling when its check state changes, as a toolkit does. For the trace driver, front ends
// that keep their controls' values in the simulation, and tests.
class HeadlessPanel : public ControlPanel {
public:
    explicit HeadlessPanel(SimulationState& state) : state_(state) {}

    int wristScrollPosition() const override { return wristScroll_; }
    void setWristScrollPosition(int position) override { wristScroll_ = position; }
    void setElbowBoxesVisible(bool visible) override { elbowBoxesVisible_ = visible; }
    bool isChecked(CheckBox box) const override { return checked_[index(box)]; }
    void setChecked(CheckBox box, bool checked) override;
    void setExplanationText(const std::string& text) override { explanation_ = text; }
    void setPathButtonCaption(const std::string& caption) override { pathCaption_ = caption; }
    void yieldToEvents() override;

    // A user's click on a box: its check mark toggles.
    void toggle(CheckBox box) { setChecked(box, !isChecked(box)); }

    bool elbowBoxesVisible() const { return elbowBoxesVisible_; }
    const std::string& explanationText() const { return explanation_; }
    const std::string& pathButtonCaption() const { return pathCaption_; }
    int yieldCount() const { return yields_; }
    // Runs at every yield, in place of the window's event handling.
    void onYield(std::function<void()> handler) { onYield_ = std::move(handler); }

private:
    static std::size_t index(CheckBox box) { return static_cast<std::size_t>(box); }

    SimulationState& state_;
    int wristScroll_ = 0;
    bool elbowBoxesVisible_ = true;
    std::array<bool, 8> checked_{};
    std::string explanation_;
    std::string pathCaption_ = "show path";
    int yields_ = 0;
    std::function<void()> onYield_;
};

} // namespace servo
