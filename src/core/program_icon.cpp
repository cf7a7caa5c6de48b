// The gourd on a red tile (see program_icon.h), drawn at the sizes title bars and
// task bars ask for.
#include "core/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace core {

namespace {

QPixmap paintIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);   // drawn on a 64 × 64 grid

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 28, 24));
    painter.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);

    // The gourd: a small bulb over a large one, a stalk and a leaf.
    QPainterPath gourd;
    gourd.addEllipse(QPointF(32, 44), 15, 14);
    gourd.addEllipse(QPointF(32, 23), 9.5, 9);
    gourd.addRect(QRectF(27, 26, 10, 8));
    gourd.setFillRule(Qt::WindingFill);
    painter.setBrush(QColor(236, 184, 52));
    painter.setPen(QPen(QColor(110, 60, 10), 1.5));
    painter.drawPath(gourd.simplified());

    painter.setPen(QPen(QColor(110, 60, 10), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(32, 14), QPointF(33, 7));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 150, 60));
    QPainterPath leaf;
    leaf.moveTo(33, 10);
    leaf.quadTo(40, 3, 48, 7);
    leaf.quadTo(41, 14, 33, 10);
    painter.drawPath(leaf);

    // A red band round the waist.
    painter.setPen(QPen(QColor(150, 28, 24), 2.5));
    painter.drawLine(QPointF(27.5, 31), QPointF(36.5, 31));
    return pixmap;
}

}  // namespace

QIcon programIcon()
{
    static const QIcon icon = [] {
        QIcon made;
        for (const int size : {16, 24, 32, 48, 64}) made.addPixmap(paintIcon(size));
        return made;
    }();
    return icon;
}

}  // namespace core
