#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace wattmeter {

// The sizes of the icon in the desktop's icon theme, in pixels.
inline constexpr std::array themeIconSizes{16, 32, 48, 256};

// One file of the installed icons: "wattmeter-<size>.png", "wattmeter.svg" or
// "wattmeter.ico".
struct IconFile {
    QString name;
    QByteArray contents;
};

// Every icon file, drawn from the window's icon.
std::vector<IconFile> iconFiles();

// The icon as SVG, on the same 32-unit square as the drawing.
QByteArray scalableIcon();

// The Windows icon: 32 x 32 in 2 and in 16 colours, and 16 x 16 in 16 colours.
QByteArray windowsIcon();

} // namespace wattmeter
