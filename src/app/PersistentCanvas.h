#pragma once

#include "state/DrawingSurface.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <memory>

namespace servo {

// The window's drawing surface: a persistent picture in the user scale x 120..450 (left to
// right) by y 0..130 (top to bottom), stretched over the whole client area. What is drawn stays
// until clear(); present() tells which part changed since the last present.
//
// The picture is an image of the client area's size in device pixels, so lines stay crisp on
// a high-DPI screen. Clearing touches only what was drawn since the last clear, and the area
// to present is only what changed, so the cost of a frame follows what is drawn rather than
// the size of the window.
class PersistentCanvas : public DrawingSurface {
public:
    static constexpr double Left = 120;
    static constexpr double Top = 0;
    static constexpr double Right = 450;
    static constexpr double Bottom = 130;

    PersistentCanvas();
    ~PersistentCanvas() override;

    // Logical size (device-independent pixels) and device pixel ratio of the client area. The
    // old picture is scaled into the new size. A zero size keeps the picture and ignores drawing.
    void resize(QSize logicalSize, qreal devicePixelRatio);
    QSize logicalSize() const { return logicalSize_; }

    void setBackground(QColor colour);
    QColor background() const { return background_; }
    void setFont(const QFont& font) { font_ = font; }

    void clear() override;
    void setForeColour(Colour colour) override;
    void plotPoint(float x, float y) override;
    void lineTo(float x, float y) override;
    void line(float x1, float y1, float x2, float y2) override;
    void circle(float x, float y, float radius, Colour colour) override;
    void setTextPosition(float x, float y) override;
    void print(std::string_view text) override;

    // Ends the drawing of a frame and returns the changed area in logical pixels (empty if
    // nothing changed); the next call starts a new account.
    QRect takeChangedArea();
    // The picture, for copying to the screen (device pixel ratio set).
    const QImage& image() const { return image_; }

    // User units to logical pixels and back.
    QPointF toLogical(double x, double y) const;
    QPointF toUser(QPointF logical) const;

    static QColor toQColor(Colour colour);

private:
    QPainter& painter();
    void endPainting();
    void touched(const QRectF& logical);
    bool drawable() const { return !image_.isNull() && !logicalSize_.isEmpty(); }

    QImage image_;
    QSize logicalSize_;
    std::unique_ptr<QPainter> painter_;
    QColor background_{63, 150, 192};
    QColor fore_{Qt::black};
    QFont font_;
    QPointF current_;  // current drawing position, user units
    QPointF textAt_;   // current text position, user units
    QRect drawnSinceClear_; // logical pixels
    QRect changedSincePresent_;
};

} // namespace servo
