#include "desktop/DrawingArea.h"

#include "desktop/PersistentCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace servo {

DrawingArea::DrawingArea(PersistentCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void DrawingArea::fitCanvas() {
    canvas_.resize(size(), devicePixelRatioF());
}

void DrawingArea::present() {
    if (canvas_.devicePixelRatio() != devicePixelRatioF()) {
        fitCanvas(); // moved to a screen of another pixel ratio
    }
    const QRegion changed = canvas_.takeChangedArea();
    if (!changed.isEmpty() && isVisible()) {
        repaint(changed);
    }
}

void DrawingArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = canvas_.image();
    if (image.isNull()) {
        painter.fillRect(event->rect(), canvas_.background());
        return;
    }
    const qreal ratio = image.devicePixelRatio();
    for (const QRect& area : event->region()) {
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                            area.height() * ratio);
        painter.drawImage(QRectF(area), image, source);
    }
}

void DrawingArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitCanvas();
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!hasArea() || childAt(at) != nullptr) {
        event->accept(); // a press handed on by a control stays with that control
        return;
    }
    emit pointerPressed(canvas_.toUser(event->position()));
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    if (hasArea()) {
        emit pointerMoved(canvas_.toUser(event->position()));
    }
}

void DrawingArea::mouseReleaseEvent(QMouseEvent*) {
    emit pointerReleased();
}

} // namespace servo
