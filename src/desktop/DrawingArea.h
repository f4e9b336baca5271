#pragma once

#include "core/display/DisplayList.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <string>

namespace servo {

class PersistentCanvas;

// The picture in the window's client area: shows the persistent canvas and reports pointer
// presses, moves and releases in the canvas's user units. The controls lie over it as its
// siblings, so presses that land on a control never reach it.
class DrawingArea : public QWidget {
    Q_OBJECT

public:
    DrawingArea(PersistentCanvas& canvas, QWidget* parent = nullptr);

    // Copies what changed on the canvas since the last call to the screen, now.
    void present();
    // Sizes the canvas to the area's size and pixel ratio as they are now.
    void fitCanvas();

    // A layer drawn over the picture, never into it: the function draws it in the canvas's
    // user units; present() asks for it every frame and repaints when it changed. An empty
    // function removes it.
    void setOverlay(std::function<void(DrawingSurface&)> overlay);
    void setOverlayStyle(const QFont& font, double penWidth);
    // The picture as shown, cues and all, without the controls over it.
    QImage picture() const;
    const std::vector<DrawOp>& overlayOps() const { return overlayOps_; }

signals:
    void pointerPressed(QPointF user);
    void pointerMoved(QPointF user);
    void pointerReleased();
    // A key of the picture as its input line (see pictureKeyLine).
    void keyInput(const std::string& line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintOverlay(QPainter& painter) const;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool hasArea() const { return width() > 0 && height() > 0; }

    bool refreshOverlay();

    PersistentCanvas& canvas_;
    std::function<void(DrawingSurface&)> overlay_;
    std::vector<DrawOp> overlayOps_;
    QFont overlayFont_;
    double overlayPenWidth_ = 1;
};

} // namespace servo
