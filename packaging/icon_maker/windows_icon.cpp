#include "windows_icon.h"

#include <QtEndian>

#include <stdexcept>

namespace wattmeter {

namespace {

constexpr int directorySize = 6;
constexpr int entrySize = 16;
constexpr int bitmapHeaderSize = 40;

void appendU8(QByteArray& out, int value)
{
    out.append(static_cast<char>(value));
}

void appendU16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// Bitmap rows are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

int bitsPerPixel(const PaletteImage& image)
{
    switch (image.palette.size()) {
    case 2: return 1;
    case 16: return 4;
    default: throw std::invalid_argument{"an icon palette holds 2 or 16 colours"};
    }
}

bool transparent(QRgb pixel)
{
    return qAlpha(pixel) < 128;
}

int paletteIndex(const PaletteImage& image, QRgb pixel)
{
    if (transparent(pixel))
        return 0;
    const auto index = image.palette.indexOf(pixel | 0xff000000u);
    if (index < 0)
        throw std::invalid_argument{"an icon pixel has a colour outside its palette"};
    return static_cast<int>(index);
}

// Packs one row of values of the given width in bits, the leftmost pixel in
// the highest bits of the first byte.
QByteArray packedRow(const std::vector<int>& values, int bits)
{
    QByteArray row(rowBytes(static_cast<int>(values.size()), bits), '\0');
    const int perByte = 8 / bits;
    for (std::size_t x = 0; x < values.size(); ++x) {
        const int shift = 8 - bits * (static_cast<int>(x) % perByte + 1);
        row[static_cast<qsizetype>(x) / perByte] |= static_cast<char>(values[x] << shift);
    }
    return row;
}

QByteArray bitmap(const PaletteImage& image)
{
    const int bits = bitsPerPixel(image);
    const QImage pixels = image.pixels.convertToFormat(QImage::Format_ARGB32);
    const int width = pixels.width();
    const int height = pixels.height();

    QByteArray colours, mask;
    // Rows run from the bottom up.
    for (int y = height - 1; y >= 0; --y) {
        std::vector<int> indices(width), hidden(width);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = pixels.pixel(x, y);
            indices[x] = paletteIndex(image, pixel);
            hidden[x] = transparent(pixel) ? 1 : 0;
        }
        colours += packedRow(indices, bits);
        mask += packedRow(hidden, 1);
    }

    QByteArray out;
    appendU32(out, bitmapHeaderSize);
    appendU32(out, width);
    appendU32(out, height * 2); // the colours and the mask, one above the other
    appendU16(out, 1);          // planes
    appendU16(out, bits);
    appendU32(out, 0); // uncompressed
    appendU32(out, colours.size() + mask.size());
    appendU32(out, 0); // horizontal resolution: unset
    appendU32(out, 0); // vertical resolution: unset
    appendU32(out, 0); // every palette entry used
    appendU32(out, 0); // every palette entry important
    for (const QRgb colour : image.palette) {
        appendU8(out, qBlue(colour));
        appendU8(out, qGreen(colour));
        appendU8(out, qRed(colour));
        appendU8(out, 0);
    }
    return out + colours + mask;
}

} // namespace

QList<QRgb> twoColourPalette()
{
    return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}

QList<QRgb> sixteenColourPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QByteArray windowsIconFile(const std::vector<PaletteImage>& images)
{
    QByteArray directory, data;
    appendU16(directory, 0); // reserved
    appendU16(directory, 1); // an icon, not a cursor
    appendU16(directory, static_cast<quint16>(images.size()));
    const auto firstImage = directorySize + entrySize * static_cast<int>(images.size());
    for (const PaletteImage& image : images) {
        const QSize size = image.pixels.size();
        if (size.width() < 1 || size.width() > 255 || size.height() < 1 || size.height() > 255)
            throw std::invalid_argument{"an icon image is 1 to 255 pixels on each side"};
        const QByteArray stored = bitmap(image);
        appendU8(directory, size.width());
        appendU8(directory, size.height());
        appendU8(directory, static_cast<int>(image.palette.size()));
        appendU8(directory, 0); // reserved
        appendU16(directory, 1);
        appendU16(directory, bitsPerPixel(image));
        appendU32(directory, stored.size());
        appendU32(directory, firstImage + data.size());
        data += stored;
    }
    return directory + data;
}

} // namespace wattmeter
