#include "desktop/PersistentCanvas.h"

#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <algorithm>
#include <cmath>

namespace servo {

namespace {

// Pixels a stroke may reach beyond its geometry (pen width, rounding).
constexpr int StrokeMargin = 2;

// The device pixels a logical area may touch, within `bounds` (clipped in floating point
// first, so that far off-screen geometry cannot overflow integer pixels).
QRect enclosing(const QRectF& logical, qreal ratio, const QRect& bounds) {
    const QRectF device(logical.x() * ratio, logical.y() * ratio, logical.width() * ratio,
                        logical.height() * ratio);
    const QRectF grown = device.adjusted(-StrokeMargin, -StrokeMargin, StrokeMargin, StrokeMargin);
    return (grown & QRectF(bounds)).toAlignedRect() & bounds;
}

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

PersistentCanvas::PersistentCanvas() = default;
PersistentCanvas::~PersistentCanvas() = default;

QColor PersistentCanvas::toQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void PersistentCanvas::resize(QSize logicalSize, qreal devicePixelRatio) {
    flush();
    endPainting();
    if (logicalSize.isEmpty()) {
        logicalSize_ = QSize(); // nothing to show; the picture waits for a real size
        changedSincePresent_.clear();
        return;
    }
    const QSize devicePixels(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                             static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    if (logicalSize == logicalSize_ && !image_.isNull() && image_.size() == devicePixels) {
        return;
    }
    place(logicalSize, devicePixelRatio, trueProportions_);
}

void PersistentCanvas::setTrueProportions(bool on) {
    if (on == trueProportions_) {
        return;
    }
    flush();
    endPainting();
    if (drawable()) {
        place(logicalSize_, image_.devicePixelRatio(), on);
    } else {
        trueProportions_ = on;
        map_ = pictureMap(logicalSize_.width(), logicalSize_.height(), on);
    }
}

void PersistentCanvas::place(QSize logicalSize, qreal devicePixelRatio, bool trueProportions) {
    const QSize devicePixels(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                             static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    const PictureMap map = pictureMap(logicalSize.width(), logicalSize.height(), trueProportions);
    QImage resized(devicePixels, QImage::Format_RGB32);
    resized.setDevicePixelRatio(devicePixelRatio);
    resized.fill(shownBackground());
    const bool keptPicture = !image_.isNull();
    if (keptPicture) {
        // Keep what was drawn (the path display relies on it): the user rectangle as it stood,
        // stretched into where it stands now. Nearest-pixel scaling keeps strokes in their own
        // colours.
        const qreal ratio = image_.devicePixelRatio();
        const QRectF source = trueProportions_ ? QRectF(map_.offsetX * ratio, map_.offsetY * ratio,
                                                        map_.spanX * ratio, map_.spanY * ratio)
                                               : QRectF(image_.rect());
        QPainter scaler(&resized);
        scaler.drawImage(QRectF(map.offsetX, map.offsetY, map.spanX, map.spanY), image_, source);
    }
    image_ = std::move(resized);
    logicalSize_ = logicalSize;
    map_ = map;
    trueProportions_ = trueProportions;
    drawnSinceClear_.reset(devicePixels);
    changedSincePresent_.reset(devicePixels);
    if (keptPicture) {
        drawnSinceClear_.markAll();
    }
    changedSincePresent_.markAll();
    lastFrame_.clear(); // the next frame draws afresh at the new size
}

QPointF PersistentCanvas::toLogical(double x, double y) const {
    return {map_.pixelX(x), map_.pixelY(y)};
}

QPointF PersistentCanvas::toUser(QPointF logical) const {
    return {map_.userX(logical.x()), map_.userY(logical.y())};
}

// Drawing is collected, and carried out by flush().

void PersistentCanvas::clear() {
    pending_.clear();
}

void PersistentCanvas::setForeColour(Colour colour) {
    pending_.setForeColour(colour);
}

void PersistentCanvas::plotPoint(float x, float y) {
    pending_.plotPoint(x, y);
}

void PersistentCanvas::lineTo(float x, float y) {
    pending_.lineTo(x, y);
}

void PersistentCanvas::line(float x1, float y1, float x2, float y2) {
    pending_.line(x1, y1, x2, y2);
}

void PersistentCanvas::circle(float x, float y, float radius, Colour colour) {
    pending_.circle(x, y, radius, colour);
}

void PersistentCanvas::setTextPosition(float x, float y) {
    pending_.setTextPosition(x, y);
}

void PersistentCanvas::print(std::string_view text) {
    pending_.print(text);
}

QRegion PersistentCanvas::takeChangedArea() {
    if (frameOps_.empty() && repeatsWithoutChange(pending_.ops(), lastFrame_)) {
        pending_.forget();
    } else {
        flush();
        if (!frameOps_.empty()) {
            lastFrame_ = std::move(frameOps_);
        }
        frameOps_.clear();
    }
    endPainting();

    QRegion changed;
    const qreal ratio = image_.isNull() ? 1 : image_.devicePixelRatio();
    for (const QRect& device : changedSincePresent_.rects()) {
        const QRectF logical(device.x() / ratio, device.y() / ratio, device.width() / ratio,
                             device.height() / ratio);
        changed += logical.toAlignedRect();
    }
    changedSincePresent_.clear();
    return changed;
}

Colour PersistentCanvas::fromQColor(const QColor& colour) {
    return rgb(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
               static_cast<unsigned>(colour.blue()));
}

void PersistentCanvas::setProfile(ColourProfile profile) {
    if (profile == profile_) {
        return;
    }
    flush();
    endPainting();
    // Few colours make up the picture; each is worked out once.
    QHash<QRgb, QRgb> recoloured;
    for (int y = 0; y < image_.height(); ++y) {
        auto* pixels = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < image_.width(); ++x) {
            const QRgb pixel = pixels[x];
            auto known = recoloured.constFind(pixel);
            if (known == recoloured.cend()) {
                const Colour shownNow =
                    recolouredPixel(fromQColor(QColor(pixel)), profile_, profile);
                known = recoloured.insert(pixel, toQColor(shownNow).rgb());
            }
            pixels[x] = *known;
        }
    }
    profile_ = profile;
    fore_ = shown(foreDrawn_);
    if (!image_.isNull()) {
        changedSincePresent_.markAll();
    }
    lastFrame_.clear(); // the next frame draws afresh in the new colours
}

const QImage& PersistentCanvas::image() {
    flush();
    endPainting();
    return image_;
}

void PersistentCanvas::flush() {
    for (const DrawOp& op : pending_.ops()) {
        paint(op);
        frameOps_.push_back(op);
    }
    pending_.forget();
}

void PersistentCanvas::paint(const DrawOp& op) {
    switch (op.kind) {
    case DrawOp::Kind::Clear:
        paintClear();
        break;
    case DrawOp::Kind::ForeColour:
        foreDrawn_ = op.colour;
        fore_ = shown(op.colour);
        if (painter_) {
            painter_->setPen(strokePen(fore_));
        }
        break;
    case DrawOp::Kind::Point: {
        current_ = QPointF(op.x1, op.y1);
        const QPointF at = toLogical(op.x1, op.y1);
        if (drawable() && finite(at)) {
            painter().drawPoint(at);
            touched(QRectF(at, QSizeF(1, 1)));
        }
        break;
    }
    case DrawOp::Kind::LineTo: {
        const QPointF from = current_;
        current_ = QPointF(op.x1, op.y1);
        paintLine(from, current_);
        break;
    }
    case DrawOp::Kind::Line:
        paintLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
        break;
    case DrawOp::Kind::Circle:
        current_ = QPointF(op.x1, op.y1);
        paintCircle(current_, op.x2, op.colour);
        break;
    case DrawOp::Kind::TextPosition:
        textAt_ = QPointF(op.x1, op.y1);
        break;
    case DrawOp::Kind::Print:
        paintText(op.text);
        break;
    case DrawOp::Kind::Yield:
        break;
    }
}

QPen PersistentCanvas::strokePen(const QColor& colour) const {
    // One device-independent pixel wide at any pixel ratio unless set otherwise; a cosmetic
    // pen takes the raster engine's fast path for thin lines.
    const double ratio = image_.isNull() ? 1 : image_.devicePixelRatio();
    QPen pen(colour, strokeWidth_ > 0 ? strokeWidth_ : ratio);
    pen.setCosmetic(true);
    return pen;
}

void PersistentCanvas::setFont(const QFont& font) {
    flush();
    endPainting();
    font_ = font;
}

void PersistentCanvas::setStrokeWidth(double devicePixels) {
    flush();
    endPainting();
    strokeWidth_ = devicePixels;
}

QPainter& PersistentCanvas::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setPen(strokePen(fore_));
        painter_->setFont(font_);
    }
    return *painter_;
}

void PersistentCanvas::endPainting() {
    painter_.reset();
}

void PersistentCanvas::touched(const QRectF& logical) {
    const QRect area = enclosing(logical, image_.devicePixelRatio(), image_.rect());
    drawnSinceClear_.markRect(area);
    changedSincePresent_.markRect(area);
}

void PersistentCanvas::touchedLine(QPointF from, QPointF to) {
    const qreal ratio = image_.devicePixelRatio();
    const QLineF device(from * ratio, to * ratio);
    const double halfWidth = std::max(ratio, strokeWidth_) / 2 + StrokeMargin;
    drawnSinceClear_.markLine(device, halfWidth);
    changedSincePresent_.markLine(device, halfWidth);
}

void PersistentCanvas::paintClear() {
    if (!drawable() || drawnSinceClear_.isEmpty()) {
        return;
    }
    // Only what was drawn since the last clear differs from the background: fill just those
    // tiles, straight into the image's pixels.
    endPainting();
    const QRgb fill = shownBackground().rgb();
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (const QRect& area : drawnSinceClear_.rects()) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* pixels = reinterpret_cast<QRgb*>(bits + y * stride);
            std::fill(pixels + area.left(), pixels + area.right() + 1, fill);
        }
        changedSincePresent_.markRect(area);
    }
    drawnSinceClear_.clear();
}

void PersistentCanvas::paintLine(QPointF fromUser, QPointF toUser) {
    if (!drawable()) {
        return;
    }
    const QPointF a = toLogical(fromUser.x(), fromUser.y());
    const QPointF b = toLogical(toUser.x(), toUser.y());
    if (!finite(a) || !finite(b)) {
        return;
    }
    painter().drawLine(a, b);
    touchedLine(a, b);
}

void PersistentCanvas::paintCircle(QPointF centreUser, double radius, Colour colour) {
    if (!drawable()) {
        return;
    }
    const QPointF centre = toLogical(centreUser.x(), centreUser.y());
    // The radius is in horizontal units; the circle stays round on screen.
    const double r = std::abs(radius) * map_.spanX / (Right - Left);
    if (!finite(centre) || !std::isfinite(r)) {
        return;
    }
    QPainter& p = painter();
    p.setPen(strokePen(shown(colour)));
    p.drawEllipse(centre, r, r);
    p.setPen(strokePen(fore_));
    touched(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
}

void PersistentCanvas::paintText(const std::string& text) {
    const QString string = QString::fromStdString(text);
    const QFontMetricsF metrics(font_);
    const double width = metrics.horizontalAdvance(string);
    if (!drawable()) {
        return;
    }
    const QPointF topLeft = toLogical(textAt_.x(), textAt_.y());
    if (finite(topLeft)) {
        QPainter& p = painter();
        p.setPen(fore_);
        p.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), string);
        p.setPen(strokePen(fore_));
        touched(QRectF(topLeft, QSizeF(width, metrics.height())));
    }
    // The position moves on by the text's width, so a following print continues the line.
    textAt_.rx() += width * (Right - Left) / map_.spanX;
}

} // namespace servo
