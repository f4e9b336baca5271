#include "desktop/WindowIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace servo {

QImage paintWindowIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // Rounded tile in the window's background colour.
    p.setPen(QPen(QColor(31, 75, 96), 1));
    p.setBrush(QColor(63, 150, 192));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // Target cross.
    p.setPen(QPen(QColor(255, 255, 192), 1.5));
    p.drawLine(QPointF(24, 7), QPointF(30, 7));
    p.drawLine(QPointF(27, 4), QPointF(27, 10));

    // Base, upper arm, forearm and hand in white, joints in near black.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 25, 13, 4));
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF shoulder(10, 24);
    const QPointF elbow(12, 12);
    const QPointF wrist(21, 9);
    p.drawLine(shoulder, elbow);
    p.drawLine(elbow, wrist);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(wrist, QPointF(24.5, 6.5));
    p.drawLine(wrist, QPointF(25, 10.5));
    p.setPen(QPen(QColor(1, 0, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    for (QPointF joint : {shoulder, elbow, wrist}) {
        p.drawEllipse(joint, 1.8, 1.8);
    }
    return image;
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        icon.addPixmap(QPixmap::fromImage(paintWindowIcon(size)));
    }
    return icon;
}

} // namespace servo
