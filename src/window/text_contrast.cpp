#include "window/text_contrast.h"

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

QColor readableBlue(const QColor& background)
{
    // Every blue of hue 240: towards white, (t, t, 255), and towards black,
    // (0, 0, 255 - t). White or black always reaches 4.5 against any colour.
    QColor nearest{0, 0, 255};
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (int t = 0; t <= 255; ++t) {
        const std::pair<QColor, double> candidates[] = {{QColor{t, t, 255}, std::sqrt(2.0) * t},
                                                        {QColor{0, 0, 255 - t}, double(t)}};
        for (const auto& [colour, distance] : candidates)
            if (distance < nearestDistance &&
                contrastRatio(colour, background) >= readableContrast) {
                nearest = colour;
                nearestDistance = distance;
            }
    }
    return nearest;
}

} // namespace wattmeter
