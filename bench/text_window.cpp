// A second floor: the bare Qt window with one text field whose text changes ten
// times a second. Starting it loads Qt's font database, as any window with
// text must, and running it costs what one repainted field costs.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app{argc, argv};
    QWidget window;
    window.setWindowTitle("Text window");
    window.setFixedSize(489, 674);
    auto* field = new QLineEdit{"0.000 WH", &window};
    field->setGeometry(24, 312, 257, 33);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { field->setText(QString::number(++ticks * 0.028, 'f', 3) + " WH"); });
    timer.start(100);
    window.show();
    return app.exec();
}
