#include "panel/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app{argc, argv};
    wattmeter::Form1 form1;
    form1.show();
    return app.exec();
}
