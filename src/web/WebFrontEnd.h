#pragma once

#include "core/access/Announcer.h"
#include "core/access/PacedText.h"
#include "core/display/DisplayList.h"
#include "core/lab/Lab.h"
#include "core/lesson/Lesson.h"
#include "core/simulation/Simulation.h"
#include "core/state/SimulationState.h"
#include "headless/HeadlessSimulation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace servo {

// Drawing operations as the page reads them straight from the module's memory: OpFloats
// numbers an operation (kind, x1, y1, x2, y2, colour; for a print, x1 is the text's index).
class EncodedOps {
public:
    static constexpr int OpFloats = 6;

    void encode(const std::vector<DrawOp>& ops);
    int count() const { return static_cast<int>(numbers_.size()) / OpFloats; }
    std::uintptr_t address() const { return reinterpret_cast<std::uintptr_t>(numbers_.data()); }
    const std::string& text(int index) const;

private:
    std::vector<float> numbers_;
    std::vector<std::string> texts_;
};

// The simulation and its lab for the browser page: the page forwards its events here, calls
// frame() once per animation frame and draws what the encoded lists say. The controls' values
// live in the simulation's record of them (Controls), which the page mirrors.
class WebFrontEnd {
public:
    WebFrontEnd();
    WebFrontEnd(const WebFrontEnd&) = delete;
    WebFrontEnd& operator=(const WebFrontEnd&) = delete;

    // The first half of start-up ran in the constructor; the page calls this once the user
    // has dismissed the notice.
    void startUpAfterNotice();

    // One animation frame, `elapsedSeconds` after the one before.
    void frame(double elapsedSeconds);
    // Takes what was drawn on the picture since the last call (handlers included); false when
    // it would only repeat the last frame and need not be drawn.
    bool takePicture();
    const EncodedOps& picture() const { return picture_; }
    // Redraws the cue layer's list; false when it is the same as last time.
    bool refreshCues();
    const EncodedOps& cues() const { return cues_; }
    // Draws the error plot for an area of the given size and line height; false, with the
    // list left as it was, when nothing it shows has changed since the last call. Its texts
    // are as wide as setPlotTextWidth said (measure plotTexts() in the plot's font).
    bool drawPlot(double width, double height, double lineHeight);
    void setPlotTextWidth(const std::string& text, double width) {
        plotTextWidths_.set(text, width);
        plotShown_ = {}; // drawn again with these widths
    }
    const EncodedOps& plot() const { return plot_; }
    std::string figures() const { return lab_.figures(); }

    // What a screen reader is to hear after this frame (`nowSeconds` on any steady clock), or
    // an empty text.
    std::string announcement(double nowSeconds) {
        return announcer_.afterFrame(lab_, nowSeconds, lesson_.takeNews()).value_or("");
    }
    // The picture's accessible name (the one-line summary) when it is to change now, paced like
    // the announcements, or an empty text.
    std::string pictureName(double nowSeconds) {
        return pictureName_.offer(Announcer::summary(lab_), nowSeconds).value_or("");
    }

    SimulationState& state() { return headless_.state; }
    Controls& controls() { return headless_.controls; }
    Lab& lab() { return lab_; }
    // Every input of the page goes through the lesson (recorded, or held off by a replay).
    Lesson& lesson() { return lesson_; }
    DisplayList& surface() { return headless_.surface; }

private:
    HeadlessSimulation headless_{StartUpStop::AtNotice};
    Lab lab_{headless_.simulation};
    Lesson lesson_{lab_};
    Announcer announcer_;
    PacedText pictureName_{Announcer::MinimumGapSeconds};
    std::vector<DrawOp> lastFrame_;
    EncodedOps picture_;
    std::vector<DrawOp> lastCues_;
    EncodedOps cues_;
    EncodedOps plot_;
    struct PlotKey {
        std::size_t version;
        int servoType;
        double width;
        double height;
        double lineHeight;
        std::string language; // the plot's texts are in it
        bool operator==(const PlotKey&) const = default;
    };
    PlotKey plotShown_{};
    MeasuredTexts plotTextWidths_;
};

} // namespace servo
