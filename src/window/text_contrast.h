#pragma once

#include <QColor>

namespace wattmeter {

// The WCAG 2.1 contrast ratio of two opaque colours: 1 for the same colour,
// 21 for black on white. Normal text needs 4.5 to be read comfortably.
double contrastRatio(const QColor& a, const QColor& b);

inline constexpr double readableContrast = 4.5;

// The captions' blue, (0, 0, 255), where it reaches readableContrast against
// the background; elsewhere the nearest colour of the same hue that does,
// lighter on dark backgrounds and darker on mid-grey ones.
QColor readableBlue(const QColor& background);

} // namespace wattmeter
