#include "core/display/DisplayList.h"

#include <algorithm>
#include <cstdio>

namespace servo {

namespace {

std::string number(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return buffer;
}

} // namespace

std::string DrawOp::describe() const {
    switch (kind) {
    case Kind::Clear:
        return "cls";
    case Kind::ForeColour:
        return "forecolor " + std::to_string(colour);
    case Kind::Point:
        return "pset " + number(x1) + " " + number(y1);
    case Kind::LineTo:
        return "lineto " + number(x1) + " " + number(y1);
    case Kind::Line:
        return "line " + number(x1) + " " + number(y1) + " " + number(x2) + " " + number(y2);
    case Kind::Circle:
        return "circle " + number(x1) + " " + number(y1) + " " + number(x2) + " " +
               std::to_string(colour);
    case Kind::TextPosition:
        return "at " + number(x1) + " " + number(y1);
    case Kind::Print:
        return "print \"" + text + "\"";
    case Kind::Yield:
        return "yield";
    }
    return {};
}

namespace {

DrawOp op(DrawOp::Kind kind, float x1 = 0, float y1 = 0, float x2 = 0, float y2 = 0) {
    DrawOp result;
    result.kind = kind;
    result.x1 = x1;
    result.y1 = y1;
    result.x2 = x2;
    result.y2 = y2;
    return result;
}

} // namespace

void DisplayList::clear() {
    ops_.push_back(op(DrawOp::Kind::Clear));
}

void DisplayList::setForeColour(Colour colour) {
    foreColour_ = colour;
    ops_.push_back(op(DrawOp::Kind::ForeColour));
    ops_.back().colour = colour;
}

void DisplayList::plotPoint(float x, float y) {
    ops_.push_back(op(DrawOp::Kind::Point, x, y));
}

void DisplayList::lineTo(float x, float y) {
    ops_.push_back(op(DrawOp::Kind::LineTo, x, y));
}

void DisplayList::line(float x1, float y1, float x2, float y2) {
    ops_.push_back(op(DrawOp::Kind::Line, x1, y1, x2, y2));
}

void DisplayList::circle(float x, float y, float radius, Colour colour) {
    ops_.push_back(op(DrawOp::Kind::Circle, x, y, radius));
    ops_.back().colour = colour;
}

void DisplayList::setTextPosition(float x, float y) {
    ops_.push_back(op(DrawOp::Kind::TextPosition, x, y));
}

void DisplayList::print(std::string_view text) {
    ops_.push_back(op(DrawOp::Kind::Print));
    ops_.back().text = text;
}

void DisplayList::recordYield() {
    ops_.push_back(op(DrawOp::Kind::Yield));
}

void replay(const std::vector<DrawOp>& ops, DrawingSurface& surface) {
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Clear:
            surface.clear();
            break;
        case DrawOp::Kind::ForeColour:
            surface.setForeColour(op.colour);
            break;
        case DrawOp::Kind::Point:
            surface.plotPoint(op.x1, op.y1);
            break;
        case DrawOp::Kind::LineTo:
            surface.lineTo(op.x1, op.y1);
            break;
        case DrawOp::Kind::Line:
            surface.line(op.x1, op.y1, op.x2, op.y2);
            break;
        case DrawOp::Kind::Circle:
            surface.circle(op.x1, op.y1, op.x2, op.colour);
            break;
        case DrawOp::Kind::TextPosition:
            surface.setTextPosition(op.x1, op.y1);
            break;
        case DrawOp::Kind::Print:
            surface.print(op.text);
            break;
        case DrawOp::Kind::Yield:
            break;
        }
    }
}

bool repeatsWithoutChange(const std::vector<DrawOp>& frame, const std::vector<DrawOp>& last) {
    if (frame.empty() || frame != last) {
        return false;
    }
    if (frame.front().kind == DrawOp::Kind::Clear) {
        return true;
    }
    return std::none_of(frame.begin(), frame.end(),
                        [](const DrawOp& op) { return op.kind == DrawOp::Kind::Print; });
}

} // namespace servo
