// A floor with text: the bare Qt window with one text field (or the number of
// fields given) whose text changes ten times a second. Starting it loads Qt's
// font database, as any window with text must; with two fields, running it
// costs what the meter's two changing readouts, watt hours and kilowatt
// hours, cost in a plain window.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app{argc, argv};
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    QWidget window;
    window.setWindowTitle("Text window");
    window.setFixedSize(489, 674);
    std::vector<QLineEdit*> fields;
    for (int i = 0; i < count; ++i) {
        fields.push_back(new QLineEdit{&window});
        fields.back()->setGeometry(24, 312 + 64 * i, 257, 33);
        // As in the running meter, whose focus is on a button: no text cursor
        // blinks, so only the rewrites cost.
        fields.back()->setFocusPolicy(Qt::ClickFocus);
    }
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        for (QLineEdit* field : fields)
            field->setText(QString::number(ticks * 0.028, 'f', 3) + " WH");
    });
    timer.start(100);
    window.show();
    return app.exec();
}
