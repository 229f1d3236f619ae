#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

#include <vector>

namespace wattmeter {

// One image of a Windows icon: its pixels, each transparent or one of the
// palette's colours, and the palette of 2 or 16 colours it is stored with.
struct PaletteImage {
    QImage pixels;
    QList<QRgb> palette;
};

// The black-and-white and the standard 16-colour Windows palettes.
QList<QRgb> twoColourPalette();
QList<QRgb> sixteenColourPalette();

// An .ico file holding the images in the order given, each as a palette bitmap
// with its transparency mask. Throws std::invalid_argument for a pixel whose
// colour is not in its palette, or an image the format cannot hold.
QByteArray windowsIconFile(const std::vector<PaletteImage>& images);

} // namespace wattmeter
