#include "entry/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace tl {

QPixmap leafPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath leaf;
    leaf.moveTo(0.15 * s, 0.85 * s);
    leaf.cubicTo(0.10 * s, 0.35 * s, 0.45 * s, 0.10 * s, 0.90 * s, 0.10 * s);
    leaf.cubicTo(0.90 * s, 0.55 * s, 0.65 * s, 0.90 * s, 0.15 * s, 0.85 * s);
    p.setPen(QPen(QColor(30, 90, 40), s / 40));
    p.setBrush(QColor(70, 150, 60));
    p.drawPath(leaf);
    p.setPen(QPen(QColor(225, 240, 200), s / 45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.15 * s, 0.85 * s), QPointF(0.78 * s, 0.22 * s));
    for (int i = 1; i <= 3; ++i) {
        const qreal t = 0.2 * i;
        const QPointF base(0.15 * s + t * 0.63 * s, 0.85 * s - t * 0.63 * s);
        p.drawLine(base, base + QPointF(0.16 * s, 0.05 * s));
        p.drawLine(base, base + QPointF(-0.05 * s, -0.16 * s));
    }
    return pixmap;
}

QPixmap reportCardPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(QColor(90, 90, 110), s / 60));
    p.setBrush(QColor(252, 252, 245));
    p.drawRoundedRect(QRectF(0.18 * s, 0.08 * s, 0.64 * s, 0.84 * s), s / 30, s / 30);
    p.setPen(QPen(QColor(150, 170, 200), s / 70));
    for (int i = 0; i < 6; ++i) {
        const qreal y = (0.25 + 0.1 * i) * s;
        p.drawLine(QPointF(0.28 * s, y), QPointF(0.72 * s, y));
    }
    p.setPen(QPen(QColor(200, 40, 40), s / 22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(0.40 * s, 0.62 * s);
    tick.lineTo(0.52 * s, 0.76 * s);
    tick.lineTo(0.80 * s, 0.40 * s);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return pixmap;
}

}  // namespace tl
