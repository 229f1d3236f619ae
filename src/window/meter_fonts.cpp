#include "window/meter_fonts.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

namespace wattmeter {

void installFontSubstitutes()
{
    QFont::insertSubstitutions("OCR A Extended", {"OCRA", "OCR A Std", "OCR A"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitution("Script MT Bold", "Kaushan Script");
}

void addShippedFonts()
{
    const QDir folder{QCoreApplication::applicationDirPath() + QStringLiteral("/fonts")};
    for (const QString& file : folder.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
}

QFont meterFont(const layout::Font& font)
{
    if (!font.family)
        return QApplication::font();
    QFont result{QString::fromUtf8(font.family)};
    // OCR-A's bold is a family of its own, and Qt makes no bold of a fixed
    // pitch face: asked for by name, after the font the window names.
    if (font.bold && result.family() == QLatin1String{"OCR A Extended"})
        result.setFamilies({result.family(), QStringLiteral("OCRABold")});
    result.setPointSizeF(font.points);
    result.setBold(font.bold);
    return result;
}

} // namespace wattmeter
