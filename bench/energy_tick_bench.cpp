#include "energy_tick.h"
#include "panel_state.h"
#include "run_control.h"

#include <benchmark/benchmark.h>

using namespace wattmeter;

// One tick at 250 V and 200 A, the widest readouts the bars allow.
static void energyTickOnPanelState(benchmark::State& state)
{
    PanelState panel;
    reset(panel);
    panel.setValue(Bar::VScroll2, 200);
    for (auto _ : state) {
        energyTick(panel);
        benchmark::DoNotOptimize(panel);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(energyTickOnPanelState);

// Floor: any tick must at least write the five readout texts.
static void fiveTextsSetOnPanelState(benchmark::State& state)
{
    PanelState panel;
    const Field fields[] = {Field::txtVolts, Field::txtAmps, Field::txtWatts, Field::txtWattHours,
                            Field::txtKwh};
    const char* texts[] = {"250 Volts", "200 Amps", "50000 Watts", "1.389 WH", "0.0014 Kwh"};
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i)
            panel.setText(fields[i], texts[i]);
        benchmark::DoNotOptimize(panel);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(fiveTextsSetOnPanelState);

// An hour of ticks, the total growing to 50004 Wh.
static void hourOfTicksOnPanelState(benchmark::State& state)
{
    for (auto _ : state) {
        PanelState panel;
        reset(panel);
        panel.setValue(Bar::VScroll2, 200);
        for (int tick = 0; tick < 36000; ++tick)
            energyTick(panel);
        benchmark::DoNotOptimize(panel);
    }
}
BENCHMARK(hourOfTicksOnPanelState)->Unit(benchmark::kMillisecond);
