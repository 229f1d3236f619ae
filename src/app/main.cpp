#include "window/form1.h"
#include "window/meter_fonts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app{argc, argv};
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(WATTMETER_APP_ID));
    wattmeter::addShippedFonts();
    wattmeter::Form1 form1;
    form1.show();
    return app.exec();
}
