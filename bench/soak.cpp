// Leaves the meter running at 250 V and 4 A for the minutes given (15 unless
// given), its resident memory sampled every 10 s, and fails if the memory
// grows by more than 1 MiB after the first minute or the total strays from
// ten ticks a second of the elapsed time by more than 1 % and 10 ticks.
// The window is set up and shown as the program shows it.
#include "form1.h"
#include "meter_application.h"
#include "number_text.h"
#include "resident_memory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace wattmeter;

int main(int argc, char** argv)
{
    QApplication app{argc, argv};
    setUpMeterApplication();
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 15;
    if (minutes < 2) {
        std::fprintf(stderr, "usage: soak [minutes, at least 2]\n");
        return 2;
    }
    Form1 form;
    form.show();
    form.findChild<QPushButton*>("cmdReset")->click();
    form.findChild<QPushButton*>("cmdStart")->click();
    QElapsedTimer running;
    running.start();

    long baseline = 0, highest = 0;
    int seconds = 0;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        seconds += 10;
        const long rss = residentKiB("self");
        std::printf("%5d s  %6ld kB\n", seconds, rss);
        std::fflush(stdout);
        if (seconds == 60)
            baseline = rss;
        if (seconds >= 60 && rss > highest)
            highest = rss;
        if (seconds >= minutes * 60)
            QApplication::quit();
    });
    sample.start(10'000);
    app.exec();

    const double ticks = readLeadingNumber(form.text(Field::txtWattHours)) / 0.028;
    const double expected = running.elapsed() / 100.0;
    const double allowed = expected / 100 + 10;
    const long growth = highest - baseline;
    const bool ok = growth <= 1024 && std::abs(ticks - expected) <= allowed;
    std::printf("soak %d min: memory %ld kB after 1 min, %+ld kB since (limit 1024); %.0f ticks "
                "against %.0f due (allowed %.0f): %s\n",
                minutes, baseline, growth, ticks, expected, allowed, ok ? "ok" : "FAIL");
    return ok ? 0 : 1;
}
