#pragma once

#include "core/access/ColourProfile.h"
#include "core/display/DisplayList.h"
#include "core/display/PictureMap.h"
#include "core/interfaces/DrawingSurface.h"
#include "core/state/Geometry.h"
#include "desktop/DirtyTiles.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QSize>

#include <memory>
#include <vector>

namespace servo {

// The window's drawing surface: a persistent picture in the user scale x 120..450 (left to
// right) by y 0..130 (top to bottom), stretched over the whole client area or, in true
// proportions, as large as fits with one arm unit as long across as down (see PictureMap).
// What is drawn stays until clear().
//
// The picture is an image of the client area's size in device pixels, so lines stay crisp on
// a high-DPI screen. Drawing is collected per frame and carried out when the frame is
// presented (or the picture is read); a frame that would draw exactly what the previous one
// drew costs nothing more. Clearing touches only what was drawn since the last clear, and the
// area to present is only what changed, so the cost of a frame follows what is drawn rather
// than the size of the window.
class PersistentCanvas : public DrawingSurface {
public:
    static constexpr double Left = SurfaceLeft;
    static constexpr double Top = SurfaceTop;
    static constexpr double Right = SurfaceRight;
    static constexpr double Bottom = SurfaceBottom;

    PersistentCanvas();
    ~PersistentCanvas() override;

    // Logical size (device-independent pixels) and device pixel ratio of the client area. The
    // old picture is scaled into the new size. A zero size keeps the picture and ignores drawing.
    void resize(QSize logicalSize, qreal devicePixelRatio);
    // The picture in true proportions or stretched; what was drawn moves with the rectangle.
    void setTrueProportions(bool on);
    bool trueProportions() const { return trueProportions_; }
    // Where the user rectangle stands in the client area, logical pixels.
    const PictureMap& map() const { return map_; }
    qreal devicePixelRatio() const { return image_.isNull() ? 1 : image_.devicePixelRatio(); }

    void setBackground(QColor colour) { background_ = colour; }
    QColor background() const { return background_; }
    void setFont(const QFont& font);
    const QFont& font() const { return font_; }
    // The colours everything is shown in from now on; what was drawn so far takes them too.
    void setProfile(ColourProfile profile);
    ColourProfile profile() const { return profile_; }
    // Width of strokes in device pixels; 0 (the default) for one logical pixel.
    void setStrokeWidth(double devicePixels);

    void clear() override;
    void setForeColour(Colour colour) override;
    void plotPoint(float x, float y) override;
    void lineTo(float x, float y) override;
    void line(float x1, float y1, float x2, float y2) override;
    void circle(float x, float y, float radius, Colour colour) override;
    void setTextPosition(float x, float y) override;
    void print(std::string_view text) override;

    // Ends a frame: carries out its drawing and returns the area that changed since the last
    // call, in logical pixels (empty if nothing changed).
    QRegion takeChangedArea();
    // The picture with everything drawn so far (device pixel ratio set).
    const QImage& image();

    // User units to logical pixels and back.
    QPointF toLogical(double x, double y) const;
    QPointF toUser(QPointF logical) const;

    static QColor toQColor(Colour colour);
    static Colour fromQColor(const QColor& colour);

private:
    // Carries out the drawing collected since the last call.
    void flush();
    // A new image of that size with the user rectangle placed as `trueProportions` says, what
    // was drawn carried over.
    void place(QSize logicalSize, qreal devicePixelRatio, bool trueProportions);
    void paint(const DrawOp& op);
    void paintClear();
    void paintLine(QPointF fromUser, QPointF toUser);
    void paintCircle(QPointF centreUser, double radius, Colour colour);
    void paintText(const std::string& text);

    // A drawn colour as the profile shows it.
    QColor shown(Colour colour) const { return toQColor(shownColour(colour, profile_)); }
    QColor shownBackground() const { return shown(fromQColor(background_)); }
    QPainter& painter();
    QPen strokePen(const QColor& colour) const;
    void endPainting();
    void touched(const QRectF& logical);
    void touchedLine(QPointF from, QPointF to);
    bool drawable() const { return !image_.isNull() && !logicalSize_.isEmpty(); }

    QImage image_;
    QSize logicalSize_;
    bool trueProportions_ = false;
    PictureMap map_ = pictureMap(0, 0, false);
    std::unique_ptr<QPainter> painter_;
    QColor background_ = toQColor(WindowBackground);
    Colour foreDrawn_ = 0;   // the foreground colour as drawn
    QColor fore_{Qt::black}; // and as shown
    ColourProfile profile_ = ColourProfile::Window;
    QFont font_;
    double strokeWidth_ = 0;
    QPointF current_; // current drawing position, user units
    QPointF textAt_;  // current text position, user units

    DisplayList pending_;           // drawing of the frame under way
    std::vector<DrawOp> frameOps_;  // drawing of this frame carried out so far
    std::vector<DrawOp> lastFrame_; // drawing of the last frame that drew anything
    DirtyTiles drawnSinceClear_;    // device pixels
    DirtyTiles changedSincePresent_;
};

} // namespace servo
