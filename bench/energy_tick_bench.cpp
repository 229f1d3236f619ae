#include "metering/energy_tick.h"
#include "metering/run_control.h"
#include "panel/panel_state.h"

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
