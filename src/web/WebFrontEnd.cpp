#include "web/WebFrontEnd.h"

#include "core/simulation/StartUp.h"

namespace servo {

namespace {

// The page has no window steps of its own to take at start-up: it is already showing.
class PageWindow : public StartUpWindow {
public:
    void maximiseWindow() override {}
    void showWindow() override {}
    void setDrawingScale() override {}
};

} // namespace

void EncodedOps::encode(const std::vector<DrawOp>& ops) {
    numbers_.clear();
    texts_.clear();
    numbers_.reserve(ops.size() * OpFloats);
    for (const DrawOp& op : ops) {
        float x1 = op.x1;
        if (op.kind == DrawOp::Kind::Print) {
            x1 = static_cast<float>(texts_.size());
            texts_.push_back(op.text);
        }
        numbers_.insert(numbers_.end(), {static_cast<float>(op.kind), x1, op.y1, op.x2, op.y2,
                                         static_cast<float>(op.colour)});
    }
}

const std::string& EncodedOps::text(int index) const {
    static const std::string none;
    return index >= 0 && static_cast<std::size_t>(index) < texts_.size()
               ? texts_[static_cast<std::size_t>(index)]
               : none;
}

WebFrontEnd::WebFrontEnd() = default;

void WebFrontEnd::startUpUntilNotice() {
    PageWindow window;
    servo::startUpUntilNotice(state_, panel_, window);
}

void WebFrontEnd::startUpAfterNotice() {
    PageWindow window;
    servo::startUpAfterNotice(state_, panel_, window);
}

void WebFrontEnd::frame(double elapsedSeconds) {
    if (state_.runState != RunEnd) {
        lab_.frame(elapsedSeconds);
    }
}

bool WebFrontEnd::takePicture() {
    const std::vector<DrawOp>& ops = surface_.ops();
    const bool repeats = repeatsWithoutChange(ops, lastFrame_);
    if (!repeats) {
        picture_.encode(ops);
        if (!ops.empty()) {
            lastFrame_ = ops;
        }
    }
    surface_.forget();
    return !repeats;
}

bool WebFrontEnd::refreshCues() {
    DisplayList now;
    if (lab_.anyCue()) {
        lab_.drawCues(now);
    }
    if (now.ops() == lastCues_) {
        return false;
    }
    lastCues_ = now.ops();
    cues_.encode(lastCues_);
    return true;
}

void WebFrontEnd::drawPlot(double width, double height, double lineHeight, double valueLabelWidth,
                           double legendEntryWidth, double rightMargin) {
    PlotLayout layout{width, height};
    layout.lineHeight = lineHeight;
    layout.left = valueLabelWidth + 10;
    layout.top = lineHeight + 8;
    layout.bottom = lineHeight + 6;
    layout.right = rightMargin;
    layout.legendEntryWidth = legendEntryWidth;
    DisplayList list;
    lab_.drawPlot(layout, list);
    plot_.encode(list.ops());
}

} // namespace servo
