// Runs a real meter window for ten seconds, once undisturbed and once with the
// event loop blocked for a second in the middle, and prints the ticks
// delivered beside the ticks due: "<case> <delivered> <expected>".
#include "form1.h"
#include "meter_application.h"
#include "tick_timer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>

using namespace wattmeter;

namespace {
void measure(const char* name, int stallMs)
{
    constexpr int runMs = 10'000;
    Form1 form;
    form.show();
    int delivered = 0;
    QObject::connect(form.findChild<TickTimer*>("Timer1"), &TickTimer::tick,
                     [&delivered] { ++delivered; });
    QEventLoop loop;
    QElapsedTimer clock;
    if (stallMs > 0)
        QTimer::singleShot((runMs - stallMs) / 2, Qt::PreciseTimer, &form,
                           [stallMs] { QThread::msleep(stallMs); });
    QTimer::singleShot(runMs, Qt::PreciseTimer, &form, [&] {
        form.findChild<QPushButton*>("cmdStop")->click();
        loop.quit();
    });
    form.findChild<QPushButton*>("cmdStart")->click();
    clock.start();
    loop.exec();
    std::printf("%s %d %lld\n", name, delivered, clock.elapsed() / TickTimer::intervalMs);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app{argc, argv};
    setUpMeterApplication();
    measure("steady", 0);
    measure("stalled", 1000);
    return 0;
}
