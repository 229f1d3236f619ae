#include "panel/meter_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace wattmeter {

namespace {

// The window's corners and the bottom of its title bar, leaning to the right,
// on a 32-unit square.
constexpr QPointF topLeft{9, 4}, topRight{30, 4}, bottomRight{23, 28}, bottomLeft{2, 28};
constexpr qreal titleBarShare = 0.25;

QPointF between(QPointF from, QPointF to, qreal share)
{
    return from + (to - from) * share;
}

QPixmap drawIcon(int size)
{
    QPixmap pixmap{size, size};
    pixmap.fill(Qt::transparent);
    QPainter painter{&pixmap};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    const QPointF titleLeft = between(topLeft, bottomLeft, titleBarShare);
    const QPointF titleRight = between(topRight, bottomRight, titleBarShare);
    QPen outline{Qt::black, 32.0 / size};
    painter.setPen(outline);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF{{topLeft, topRight, bottomRight, bottomLeft}});
    painter.setBrush(Qt::cyan);
    painter.drawPolygon(QPolygonF{{topLeft, topRight, titleRight, titleLeft}});
    return pixmap;
}

} // namespace

QIcon meterIcon()
{
    QIcon icon;
    icon.addPixmap(drawIcon(32));
    icon.addPixmap(drawIcon(16));
    return icon;
}

} // namespace wattmeter
