#include "energy_tick.h"
#include "form1.h"
#include "meter_application.h"
#include "run_control.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

using namespace wattmeter;

namespace {
// A shown window at 250 V and 200 A, the widest readouts the bars allow.
struct ShownForm {
    Form1 form;
    ShownForm()
    {
        form.show();
        QApplication::processEvents();
        reset(form);
        form.setValue(Bar::VScroll2, 200);
    }
};
} // namespace

// The tick writing five fields of the window and reading four back.
static void energyTickOnForm1(benchmark::State& state)
{
    ShownForm shown;
    for (auto _ : state)
        energyTick(shown.form);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(energyTickOnForm1);

// The same, with the window repainting the fields that changed.
static void energyTickOnForm1Painted(benchmark::State& state)
{
    ShownForm shown;
    for (auto _ : state) {
        energyTick(shown.form);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(energyTickOnForm1Painted);

// Floor: any tick must at least set the five readout texts of the window.
static void fiveTextsSetOnForm1(benchmark::State& state)
{
    ShownForm shown;
    const auto fields = shown.form.findChildren<QLineEdit*>();
    const QString texts[] = {"250 Volts", "200 Amps", "50000 Watts", "1.389 WH", "0.0014 Kwh"};
    for (auto _ : state)
        for (int i = 0; i < 5; ++i)
            fields[i]->setText(texts[i]);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(fiveTextsSetOnForm1);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app{argc, argv};
    setUpMeterApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
