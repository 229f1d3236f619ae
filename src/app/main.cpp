#include "form1.h"
#include "meter_application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app{argc, argv};
    wattmeter::setUpMeterApplication();
    wattmeter::Form1 form1;
    form1.show();
    return app.exec();
}
