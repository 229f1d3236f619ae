// The floor for start-up time and memory: a bare Qt window of the meter's
// size, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app{argc, argv};
    QWidget window;
    window.setWindowTitle("Bare window");
    window.setFixedSize(489, 674);
    window.show();
    return app.exec();
}
