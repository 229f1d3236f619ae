#include "form1.h"
#include "meter_fonts.h"
#include "meter_style.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app{argc, argv};
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(WATTMETER_APP_ID));
    QApplication::setStyle(new wattmeter::MeterStyle);
    wattmeter::installMeterFonts();
    wattmeter::Form1 form1;
    form1.show();
    return app.exec();
}
