#include "text_contrast.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wattmeter {

namespace {

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor nearestShade(const QColor& colour, const QColor& background, double contrast)
{
    // Blended step by step towards white and towards black, one of which
    // always reaches 4.5 against any colour.
    const QColor rgb = colour.toRgb();
    const auto blend = [](int channel, int towards, int t) {
        return channel + ((towards - channel) * t + (towards > channel ? 127 : -127)) / 255;
    };
    QColor nearest = rgb;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (int t = 0; t <= 255; ++t)
        for (int towards : {255, 0}) {
            const QColor shade{blend(rgb.red(), towards, t), blend(rgb.green(), towards, t),
                               blend(rgb.blue(), towards, t)};
            const double distance = std::hypot(shade.red() - rgb.red(), shade.green() - rgb.green(),
                                               shade.blue() - rgb.blue());
            if (distance < nearestDistance && contrastRatio(shade, background) >= contrast) {
                nearest = shade;
                nearestDistance = distance;
            }
        }
    return nearest;
}

QColor readableBlue(const QColor& background)
{
    return nearestShade(QColor{0, 0, 255}, background, readableContrast);
}

} // namespace wattmeter
