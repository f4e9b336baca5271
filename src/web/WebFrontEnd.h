#pragma once

#include "core/display/DisplayList.h"
#include "core/display/PictureMap.h"
#include "core/lab/ErrorPlot.h"
#include "core/lab/Lab.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"
#include "headless/HeadlessSimulation.h"

#include <cstdint>
#include <optional>
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
    const std::vector<std::string>& texts() const { return texts_; }

private:
    std::vector<float> numbers_;
    std::vector<std::string> texts_;
};

// The simulation and its lab for the browser page, behind three calls: the page sends every
// input as a line (submit), runs the passes once per animation frame and gets back what to show
// (frame), and asks for anything else as text (describe). The page only lays out and paints.
class WebFrontEnd {
public:
    WebFrontEnd();
    WebFrontEnd(const WebFrontEnd&) = delete;
    WebFrontEnd& operator=(const WebFrontEnd&) = delete;

    // An input: a lesson's input line (see Lesson::submit), or one of the page's own:
    //   start              the user dismissed the start-up notice: start-up goes on
    //   modal on|off       a modal box of the page's opened or closed (the arm stands still)
    //   panel on|off       the lab panel shown or hidden
    //   language CODE      the texts' language (English for a code it does not speak)
    //   measured W TEXT    a plot text is W pixels wide in the plot's font (see plot-texts)
    //   record             a recording starts (describe("stop-recording") ends it)
    //   play\nSCRIPT       plays a recording's script from a reset
    // Empty, or why it was refused.
    std::string submit(const std::string& line);

    // One animation frame, `elapsedSeconds` after the one before, `nowSeconds` on any steady
    // clock; the plot drawn for an area of plotWidth by plotHeight pixels (none when 0) with
    // lines lineHeight apart. A JSON object of what changed since the last frame, each member
    // there only then: "picture", "cues", "plot" as [count, address, [texts]] of an encoded
    // list, "figures" (the line under the plot), "announcement" and "pictureName" (what a
    // screen reader is to hear, paced), and "view" (see viewJson; its figures, announcement
    // and picture name empty: they come beside it).
    std::string frame(double elapsedSeconds, double nowSeconds, double plotWidth, double plotHeight,
                      double lineHeight);

    // Text on demand: "page" (the description the page is built from), "view" (the view as it
    // stands), "snapshot" (the state's main values, JSON), "plot-data" (CSV), "link" (the
    // experiment as a link's hash), "whole-state" (for a screen reader), "plot-texts" (one a
    // line), "preferred-language CODES" (the first of comma-separated codes spoken),
    // "recolour FROM TO PIXEL..." (pixels 0x00BBGGRR shown in profile FROM, 0 the window's and
    // 1 high contrast, as TO shows them, space-separated), "open-link HASH" (opens its
    // experiment, or attempts a challenge link's challenge: {"error", "labPanel", "challenge",
    // "warnings"}), "stop-recording" (the recording's script; it ends), "picture-map WIDTH
    // HEIGHT" (where the user rectangle stands in a picture of that size, JSON: see
    // PictureMap), "hand-in WHEN" (the challenge's attempt handed in at that date and time,
    // JSON: see handInJson; the recording ends). Empty for anything else.
    std::string describe(const std::string& what);

    Lab& lab() { return lab_; }
    Lesson& lesson() { return lesson_; }

private:
    SimulationState& state() { return headless_.state; }
    DisplayList& surface() { return headless_.surface; }
    std::string frontEndInput(const std::string& word, const std::string& rest, bool& handled);
    std::string openLink(const std::string& hash);
    std::string handInJson(const std::string& when);
    std::string snapshot();
    std::string pictureMapJson(const std::string& size) const;
    // The picture's list since the last call; false when it would only repeat the last frame.
    bool takePicture();
    // The cue layer's list; false when it is as last time.
    bool refreshCues();
    // The plot's list; false when nothing it shows has changed since the last call.
    bool drawPlot(double width, double height, double lineHeight);

    HeadlessSimulation headless_{StartUpStop::AtNotice};
    Lab lab_{headless_.simulation};
    Lesson lesson_{lab_};
    Viewer viewer_;
    bool labPanelOpen_ = false;
    std::optional<View> viewSent_; // the last view sent, to send it only when it changes
    std::string figuresSent_;      // the same for the line under the plot
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
