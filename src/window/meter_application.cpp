#include "meter_application.h"

#include "meter_field.h"
#include "meter_style.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

namespace wattmeter {

namespace {

// Adds the fonts shipped in a "fonts" folder beside the program, as on
// Windows, where no package brings them, and maps each name the window uses
// to the nearest free font: "OCR A Extended" to OCR-A, "Arial" to Liberation
// Sans, "Script MT Bold" to Kaushan Script. Qt takes a substitute only where
// the named font is not installed.
void installMeterFonts()
{
    const QDir folder{QCoreApplication::applicationDirPath() + QStringLiteral("/fonts")};
    for (const QString& file : folder.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
    QFont::insertSubstitutions("OCR A Extended", {"OCRA", "OCR A Std", "OCR A"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitution("Script MT Bold", "Kaushan Script");
}

} // namespace

void setUpMeterApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(WATTMETER_APP_ID));
    QApplication::setStyle(new MeterStyle);
    installMeterFonts();
    MeterField::setUpAccessibility();
}

} // namespace wattmeter
