#include "desktop/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace servo {

FocusRing::FocusRing(QWidget* area, QWidget* picture) : QWidget(area), picture_(picture) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focused) {
    if (target_ != nullptr) {
        target_->removeEventFilter(this);
    }
    // A control on the area, or the picture (the ring then runs along its edges).
    const bool ours =
        focused != nullptr && focused != this && focused->parentWidget() == parentWidget();
    target_ = ours ? focused : nullptr;
    if (target_ == nullptr) {
        hide();
        return;
    }
    target_->installEventFilter(this);
    place();
}

void FocusRing::place() {
    if (target_ == nullptr || !target_->isVisible()) {
        hide();
        return;
    }
    const int margin = Width + Gap;
    setGeometry(target_ == picture_
                    ? picture_->geometry()
                    : target_->geometry().adjusted(-margin, -margin, margin, margin));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return false;
}

void FocusRing::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour_);
    const QRect all = rect();
    // Four bars, so that the control inside shows through.
    painter.drawRect(all.left(), all.top(), all.width(), Width);
    painter.drawRect(all.left(), all.bottom() - Width + 1, all.width(), Width);
    painter.drawRect(all.left(), all.top(), Width, all.height());
    painter.drawRect(all.right() - Width + 1, all.top(), Width, all.height());
}

} // namespace servo
