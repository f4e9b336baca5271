#pragma once

#include "core/access/ColourProfile.h"
#include "core/interfaces/DrawingSurface.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <functional>

namespace servo {

// A drawing surface that paints at once with a QPainter: for layers that are redrawn whole
// every time (the lab's cues over the picture, the error plot). `toPainter` maps the
// surface's units to the painter's coordinates; circle radii are in horizontal units.
class PainterSurface : public DrawingSurface {
public:
    PainterSurface(QPainter& painter, std::function<QPointF(double, double)> toPainter,
                   double unitsToPixelsX);

    // What clear() fills with; an invalid colour (the default) leaves what is below.
    void setBackground(QColor colour) { background_ = colour; }
    void setPenWidth(double pixels) { penWidth_ = pixels; }
    // The colours drawn ones are shown in.
    void setProfile(ColourProfile profile) { profile_ = profile; }
    void setFont(const QFont& font);

    void clear() override;
    void setForeColour(Colour colour) override;
    void plotPoint(float x, float y) override;
    void lineTo(float x, float y) override;
    void line(float x1, float y1, float x2, float y2) override;
    void circle(float x, float y, float radius, Colour colour) override;
    void setTextPosition(float x, float y) override;
    void print(std::string_view text) override;

    // Everything painted so far, in the painter's coordinates.
    QRectF paintedArea() const { return painted_; }

private:
    void stroke(QPointF a, QPointF b);
    void touch(const QRectF& area);

    QPainter& painter_;
    std::function<QPointF(double, double)> toPainter_;
    double unitsToPixelsX_;
    QColor background_;
    QColor fore_{Qt::black};
    double penWidth_ = 1;
    ColourProfile profile_ = ColourProfile::Window;
    QPointF current_; // surface units
    QPointF textAt_;  // surface units
    QRectF painted_;
};

} // namespace servo
