#include "app/PersistentCanvas.h"

#include <QFontMetricsF>
#include <QString>

#include <cmath>

namespace servo {

namespace {

// Pixels a stroke may reach beyond its geometry (pen width, rounding).
constexpr int StrokeMargin = 2;

// The pixels an area may touch, within `bounds` (clipped in floating point first, so that far
// off-screen geometry cannot overflow integer pixels).
QRect enclosing(const QRectF& area, const QRect& bounds) {
    const QRectF grown = area.adjusted(-StrokeMargin, -StrokeMargin, StrokeMargin, StrokeMargin);
    return (grown & QRectF(bounds)).toAlignedRect() & bounds;
}

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

} // namespace

PersistentCanvas::PersistentCanvas() = default;
PersistentCanvas::~PersistentCanvas() = default;

QColor PersistentCanvas::toQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void PersistentCanvas::resize(QSize logicalSize, qreal devicePixelRatio) {
    endPainting();
    if (logicalSize.isEmpty()) {
        logicalSize_ = QSize();
        return;
    }
    const QSize devicePixels(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                             static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    if (logicalSize == logicalSize_ && !image_.isNull() && image_.size() == devicePixels) {
        return;
    }
    QImage resized(devicePixels, QImage::Format_RGB32);
    resized.setDevicePixelRatio(devicePixelRatio);
    resized.fill(background_);
    const QRect whole(QPoint(0, 0), logicalSize);
    if (!image_.isNull()) {
        // Keep what was drawn (the path display relies on it), stretched to the new size.
        // Nearest-pixel scaling keeps strokes in their own colours.
        QPainter scaler(&resized);
        scaler.drawImage(QRectF(whole), image_, QRectF(image_.rect()));
        drawnSinceClear_ = whole;
    }
    image_ = std::move(resized);
    logicalSize_ = logicalSize;
    changedSincePresent_ = whole;
}

void PersistentCanvas::setBackground(QColor colour) { background_ = colour; }

QPointF PersistentCanvas::toLogical(double x, double y) const {
    return {(x - Left) * logicalSize_.width() / (Right - Left),
            (y - Top) * logicalSize_.height() / (Bottom - Top)};
}

QPointF PersistentCanvas::toUser(QPointF logical) const {
    return {Left + logical.x() * (Right - Left) / logicalSize_.width(),
            Top + logical.y() * (Bottom - Top) / logicalSize_.height()};
}

QPainter& PersistentCanvas::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setPen(QPen(fore_, 1));
        painter_->setFont(font_);
    }
    return *painter_;
}

void PersistentCanvas::endPainting() { painter_.reset(); }

void PersistentCanvas::touched(const QRectF& logical) {
    const QRect area = enclosing(logical, QRect(QPoint(0, 0), logicalSize_));
    drawnSinceClear_ |= area;
    changedSincePresent_ |= area;
}

void PersistentCanvas::clear() {
    if (!drawable()) {
        return;
    }
    if (!drawnSinceClear_.isEmpty()) {
        painter().fillRect(drawnSinceClear_, background_);
        changedSincePresent_ |= drawnSinceClear_;
        drawnSinceClear_ = QRect();
    }
}

void PersistentCanvas::setForeColour(Colour colour) {
    fore_ = toQColor(colour);
    if (painter_) {
        painter_->setPen(QPen(fore_, 1));
    }
}

void PersistentCanvas::plotPoint(float x, float y) {
    current_ = QPointF(x, y);
    if (!drawable()) {
        return;
    }
    const QPointF at = toLogical(x, y);
    if (!finite(at)) {
        return;
    }
    painter().drawPoint(at);
    touched(QRectF(at, QSizeF(1, 1)));
}

void PersistentCanvas::lineTo(float x, float y) {
    const QPointF from = current_;
    current_ = QPointF(x, y);
    line(static_cast<float>(from.x()), static_cast<float>(from.y()), x, y);
}

void PersistentCanvas::line(float x1, float y1, float x2, float y2) {
    if (!drawable()) {
        return;
    }
    const QPointF a = toLogical(x1, y1);
    const QPointF b = toLogical(x2, y2);
    if (!finite(a) || !finite(b)) {
        return;
    }
    painter().drawLine(a, b);
    touched(QRectF(a, b).normalized());
}

void PersistentCanvas::circle(float x, float y, float radius, Colour colour) {
    current_ = QPointF(x, y);
    if (!drawable()) {
        return;
    }
    const QPointF centre = toLogical(x, y);
    // The radius is in horizontal units; the circle stays round on screen.
    const double r = std::abs(static_cast<double>(radius)) * logicalSize_.width() / (Right - Left);
    if (!finite(centre) || !std::isfinite(r)) {
        return;
    }
    QPainter& p = painter();
    p.setPen(QPen(toQColor(colour), 1));
    p.drawEllipse(centre, r, r);
    p.setPen(QPen(fore_, 1));
    touched(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
}

void PersistentCanvas::setTextPosition(float x, float y) { textAt_ = QPointF(x, y); }

void PersistentCanvas::print(std::string_view text) {
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetricsF metrics(font_);
    const double width = metrics.horizontalAdvance(string);
    if (drawable()) {
        const QPointF topLeft = toLogical(textAt_.x(), textAt_.y());
        if (finite(topLeft)) {
            painter().drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), string);
            touched(QRectF(topLeft, QSizeF(width, metrics.height())));
        }
        // The position moves on by the text's width, so a following print continues the line.
        textAt_.rx() += width * (Right - Left) / logicalSize_.width();
    }
}

QRect PersistentCanvas::takeChangedArea() {
    endPainting();
    const QRect changed = changedSincePresent_;
    changedSincePresent_ = QRect();
    return changed;
}

} // namespace servo
