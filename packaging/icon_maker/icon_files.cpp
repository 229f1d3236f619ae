#include "icon_files.h"

#include "meter_icon.h"
#include "windows_icon.h"

#include <QBuffer>

namespace wattmeter {

namespace {

QByteArray pngFile(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer{&bytes};
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svgPoints(const QPolygonF& polygon)
{
    QByteArray points;
    for (const QPointF& point : polygon) {
        if (!points.isEmpty())
            points += ' ';
        points += QByteArray::number(point.x()) + ',' + QByteArray::number(point.y());
    }
    return points;
}

QByteArray svgPolygon(const QPolygonF& polygon, const char* fill)
{
    // Bevelled corners, as the drawing's pen makes them.
    return "  <polygon points=\"" + svgPoints(polygon) + "\" fill=\"" + fill +
           "\" stroke=\"#000000\" stroke-width=\"1\" stroke-linejoin=\"bevel\"/>\n";
}

} // namespace

QByteArray scalableIcon()
{
    const IconShape shape = meterIconShape();
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
           "viewBox=\"0 0 32 32\">\n" +
           svgPolygon(shape.window, "#ffffff") + svgPolygon(shape.titleBar, "#00ffff") + "</svg>\n";
}

QByteArray windowsIcon()
{
    return windowsIconFile({
        {meterIconImage(32, IconColours::Two), twoColourPalette()},
        {meterIconImage(32, IconColours::Sixteen), sixteenColourPalette()},
        {meterIconImage(16, IconColours::Sixteen), sixteenColourPalette()},
    });
}

std::vector<IconFile> iconFiles()
{
    std::vector<IconFile> files;
    for (const int size : themeIconSizes)
        files.push_back(
            {QStringLiteral("wattmeter-%1.png").arg(size), pngFile(meterIconImage(size))});
    files.push_back({QStringLiteral("wattmeter.svg"), scalableIcon()});
    files.push_back({QStringLiteral("wattmeter.ico"), windowsIcon()});
    return files;
}

} // namespace wattmeter
