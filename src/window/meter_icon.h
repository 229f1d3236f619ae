#pragma once

#include <QIcon>
#include <QImage>
#include <QPolygonF>

namespace wattmeter {

// The icon's window, leaning to the right, on a 32-unit square: its outline
// and, inside it, its title bar.
struct IconShape {
    QPolygonF window;
    QPolygonF titleBar;
};
IconShape meterIconShape();

enum class IconColours {
    Full,    // antialiased: white window, cyan title bar, black outline
    Sixteen, // the same in plain black, white and cyan pixels, for a 16-colour palette
    Two,     // a black outline on white, for a 2-colour image
};

// The icon drawn on a transparent square of the given size in pixels.
QImage meterIconImage(int size, IconColours colours = IconColours::Full);

// The window's icon, at 32 and 16 pixels.
QIcon meterIcon();

} // namespace wattmeter
