#include "desktop/DrawingArea.h"

#include "core/lesson/InputCommands.h"

#include "core/simulation/Handlers.h"

#include <QKeyEvent>

#include "desktop/PainterSurface.h"
#include "desktop/PersistentCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace servo {

DrawingArea::DrawingArea(PersistentCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The keyboard's way to the target; a press on the picture gives it the focus too, so that
    // the arrows then move the target.
    setFocusPolicy(Qt::StrongFocus);
}

void DrawingArea::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool fine = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !fine) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Qt's keys by the names the core gives them (PictureKeys).
    const std::pair<int, const char*> names[] = {{Qt::Key_Left, "Left"},
                                                 {Qt::Key_Right, "Right"},
                                                 {Qt::Key_Up, "Up"},
                                                 {Qt::Key_Down, "Down"},
                                                 {Qt::Key_Home, "Home"}};
    std::string line;
    for (const auto& [key, name] : names) {
        if (event->key() == key) {
            line = pictureKeyLine(name, fine);
        }
    }
    if (line.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit keyInput(line);
    event->accept();
}

void DrawingArea::fitCanvas() {
    canvas_.resize(size(), devicePixelRatioF());
}

void DrawingArea::present() {
    if (canvas_.devicePixelRatio() != devicePixelRatioF()) {
        fitCanvas(); // moved to a screen of another pixel ratio
    }
    const QRegion changed = canvas_.takeChangedArea();
    if (refreshOverlay() && isVisible()) {
        repaint(); // the layer changed: all of it, over the picture
    } else if (!changed.isEmpty() && isVisible()) {
        repaint(changed);
    }
}

void DrawingArea::setOverlay(std::function<void(DrawingSurface&)> overlay) {
    overlay_ = std::move(overlay);
}

void DrawingArea::setOverlayStyle(const QFont& font, double penWidth) {
    overlayFont_ = font;
    overlayPenWidth_ = penWidth;
    overlayOps_.clear();
    update();
}

bool DrawingArea::refreshOverlay() {
    DisplayList now;
    if (overlay_) {
        overlay_(now);
    }
    if (now.ops() == overlayOps_) {
        return false;
    }
    overlayOps_ = now.ops();
    return true;
}

void DrawingArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = canvas_.image();
    if (image.isNull()) {
        painter.fillRect(event->rect(), PersistentCanvas::toQColor(shownColour(
                                            PersistentCanvas::fromQColor(canvas_.background()),
                                            canvas_.profile())));
        return;
    }
    const qreal ratio = image.devicePixelRatio();
    for (const QRect& area : event->region()) {
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                            area.height() * ratio);
        painter.drawImage(QRectF(area), image, source);
    }
    paintOverlay(painter);
}

void DrawingArea::paintOverlay(QPainter& painter) const {
    if (overlayOps_.empty()) {
        return;
    }
    PainterSurface layer(
        painter, [this](double x, double y) { return canvas_.toLogical(x, y); },
        canvas_.map().scaleX);
    layer.setFont(overlayFont_);
    layer.setPenWidth(overlayPenWidth_);
    layer.setProfile(canvas_.profile());
    replay(overlayOps_, layer);
}

QImage DrawingArea::picture() const {
    QImage shown = canvas_.image().copy();
    if (!shown.isNull()) {
        QPainter painter(&shown);
        paintOverlay(painter);
    }
    return shown;
}

void DrawingArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitCanvas();
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (!hasArea()) {
        event->accept();
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
