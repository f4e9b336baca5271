#include "desktop/PainterSurface.h"

#include "desktop/PersistentCanvas.h"

#include <QFontMetricsF>

#include <cmath>

namespace servo {

namespace {

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter, std::function<QPointF(double, double)> toPainter,
                               double unitsToPixelsX)
    : painter_(painter), toPainter_(std::move(toPainter)), unitsToPixelsX_(unitsToPixelsX) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

void PainterSurface::setFont(const QFont& font) {
    painter_.setFont(font);
}

void PainterSurface::clear() {
    if (background_.isValid()) {
        painter_.fillRect(painter_.window(), background_);
    }
}

void PainterSurface::setForeColour(Colour colour) {
    fore_ = PersistentCanvas::toQColor(shownColour(colour, profile_));
}

void PainterSurface::plotPoint(float x, float y) {
    current_ = QPointF(x, y);
    stroke(toPainter_(x, y), toPainter_(x, y));
}

void PainterSurface::lineTo(float x, float y) {
    const QPointF from = toPainter_(current_.x(), current_.y());
    current_ = QPointF(x, y);
    stroke(from, toPainter_(x, y));
}

void PainterSurface::line(float x1, float y1, float x2, float y2) {
    stroke(toPainter_(x1, y1), toPainter_(x2, y2));
}

void PainterSurface::circle(float x, float y, float radius, Colour colour) {
    current_ = QPointF(x, y);
    const QPointF centre = toPainter_(x, y);
    const double r = std::abs(radius) * unitsToPixelsX_;
    if (!finite(centre) || !std::isfinite(r)) {
        return;
    }
    painter_.setPen(QPen(PersistentCanvas::toQColor(shownColour(colour, profile_)), penWidth_));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(centre, r, r);
    touch(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
}

void PainterSurface::setTextPosition(float x, float y) {
    textAt_ = QPointF(x, y);
}

void PainterSurface::print(std::string_view text) {
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetricsF metrics(painter_.font());
    const QPointF topLeft = toPainter_(textAt_.x(), textAt_.y());
    const double width = metrics.horizontalAdvance(string);
    if (finite(topLeft)) {
        painter_.setPen(fore_);
        painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), string);
        touch(QRectF(topLeft, QSizeF(width, metrics.height())));
    }
    textAt_.rx() += width / unitsToPixelsX_;
}

void PainterSurface::stroke(QPointF a, QPointF b) {
    if (!finite(a) || !finite(b)) {
        return;
    }
    painter_.setPen(QPen(fore_, penWidth_, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(a, b);
    touch(QRectF(a, b).normalized());
}

void PainterSurface::touch(const QRectF& area) {
    const double margin = penWidth_ + 2;
    painted_ |= area.adjusted(-margin, -margin, margin, margin);
}

} // namespace servo
