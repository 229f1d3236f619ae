#include "meter_fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

namespace wattmeter {

void installMeterFonts()
{
    const QDir folder{QCoreApplication::applicationDirPath() + QStringLiteral("/fonts")};
    for (const QString& file : folder.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
    QFont::insertSubstitutions("OCR A Extended", {"OCRA", "OCR A Std", "OCR A"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitution("Script MT Bold", "Kaushan Script");
}

} // namespace wattmeter
