#include "meter_icon.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace wattmeter {

namespace {

QPointF between(QPointF from, QPointF to, qreal share)
{
    return from + (to - from) * share;
}

} // namespace

IconShape meterIconShape()
{
    constexpr QPointF topLeft{9, 4}, topRight{30, 4}, bottomRight{23, 28}, bottomLeft{2, 28};
    constexpr qreal titleBarShare = 0.25;
    const QPointF titleLeft = between(topLeft, bottomLeft, titleBarShare);
    const QPointF titleRight = between(topRight, bottomRight, titleBarShare);
    return {QPolygonF{{topLeft, topRight, bottomRight, bottomLeft}},
            QPolygonF{{topLeft, topRight, titleRight, titleLeft}}};
}

QImage meterIconImage(int size, IconColours colours)
{
    QImage image{size, size, QImage::Format_ARGB32};
    image.fill(Qt::transparent);
    QPainter painter{&image};
    // Palette images take only the exact colours drawn, so no edge is blended.
    painter.setRenderHint(QPainter::Antialiasing, colours == IconColours::Full);
    const qreal scale = size / 32.0;
    // A one-pixel line is crisp only along the pixels' centres.
    if (scale <= 1)
        painter.translate(0.5, 0.5);
    painter.scale(scale, scale);

    // One unit wide, but never thinner than a pixel.
    painter.setPen(QPen{Qt::black, std::max(1.0, 1.0 / scale)});
    const IconShape shape = meterIconShape();
    painter.setBrush(Qt::white);
    painter.drawPolygon(shape.window);
    if (colours != IconColours::Two)
        painter.setBrush(Qt::cyan);
    painter.drawPolygon(shape.titleBar);
    return image;
}

QIcon meterIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(meterIconImage(32)));
    icon.addPixmap(QPixmap::fromImage(meterIconImage(16)));
    return icon;
}

} // namespace wattmeter
