#pragma once

#include <QPointF>
#include <QWidget>

namespace servo {

class PersistentCanvas;

// The window's client area: shows the persistent canvas and reports pointer presses, moves
// and releases in the canvas's user units. Presses that land on a control are not the
// surface's: they never set the target.
class DrawingArea : public QWidget {
    Q_OBJECT

public:
    DrawingArea(PersistentCanvas& canvas, QWidget* parent = nullptr);

    // Copies what changed on the canvas since the last call to the screen, now.
    void present();
    // Sizes the canvas to the area's size and pixel ratio as they are now.
    void fitCanvas();

signals:
    void pointerPressed(QPointF user);
    void pointerMoved(QPointF user);
    void pointerReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hasArea() const { return width() > 0 && height() > 0; }

    PersistentCanvas& canvas_;
};

} // namespace servo
