#pragma once

#include <QColor>

namespace wattmeter {

// The WCAG 2.1 contrast ratio of two opaque colours: 1 for the same colour,
// 21 for black on white. Normal text needs 4.5 to be read comfortably.
double contrastRatio(const QColor& a, const QColor& b);

inline constexpr double readableContrast = 4.5;
// What a control's parts, and the mark of its focus, need against what lies
// next to them.
inline constexpr double visibleContrast = 3;
// What a scroll bar's track needs against the window behind it: as much as
// Fusion's light track, #e4e4e4 on #efefef, the faintest one people read.
inline constexpr double trackContrast = 1.105;

// The colour nearest to the one given, blended towards white or towards
// black, that reaches the contrast asked for against the background.
QColor nearestShade(const QColor& colour, const QColor& background, double contrast);

// The captions' blue, (0, 0, 255), where it reaches readableContrast against
// the background; elsewhere the nearest colour of the same hue that does,
// lighter on dark backgrounds and darker on mid-grey ones.
QColor readableBlue(const QColor& background);

} // namespace wattmeter
