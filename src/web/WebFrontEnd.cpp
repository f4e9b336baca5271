#include "web/WebFrontEnd.h"

#include "core/language/Translation.h"

namespace servo {

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

void WebFrontEnd::startUpAfterNotice() {
    headless_.finishStartUp();
}

void WebFrontEnd::frame(double elapsedSeconds) {
    if (state().runState != RunEnd) {
        lab_.frame(elapsedSeconds);
    }
}

bool WebFrontEnd::takePicture() {
    const std::vector<DrawOp>& ops = surface().ops();
    const bool repeats = repeatsWithoutChange(ops, lastFrame_);
    if (!repeats) {
        picture_.encode(ops);
        if (!ops.empty()) {
            lastFrame_ = ops;
        }
    }
    surface().forget();
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

bool WebFrontEnd::drawPlot(double width, double height, double lineHeight) {
    const PlotKey now{
        lab_.history().version(), state().servoType, width, height, lineHeight, languageCode()};
    if (now == plotShown_) {
        return false;
    }
    plotShown_ = now;
    DisplayList list;
    const PlotLayout layout{width, height, lineHeight, [this, lineHeight](std::string_view text) {
                                return plotTextWidths_.width(text, lineHeight);
                            }};
    lab_.drawPlot(layout, list);
    plot_.encode(list.ops());
    return true;
}

} // namespace servo
