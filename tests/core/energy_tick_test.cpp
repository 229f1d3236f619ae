#include "energy_tick.h"
#include "errors.h"
#include "panel_state.h"
#include "run_control.h"

#include <gtest/gtest.h>

#include <string>

using namespace wattmeter;

namespace {
PanelState afterReset()
{
    PanelState panel;
    reset(panel);
    return panel;
}

} // namespace

TEST(EnergyTick, WorkedExampleRoundsTheTotalAtEveryTick)
{
    PanelState panel = afterReset();
    const char* wattHours[] = {"0.028 WH", "0.056 WH", "0.084 WH"};
    const char* kilowattHours[] = {"0.0000 Kwh", "0.0001 Kwh", "0.0001 Kwh"};
    for (int i = 0; i < 3; ++i) {
        energyTick(panel);
        EXPECT_EQ(panel.text(Field::txtVolts), "250 Volts");
        EXPECT_EQ(panel.text(Field::txtAmps), "4 Amps");
        EXPECT_EQ(panel.text(Field::txtWatts), "1000 Watts");
        EXPECT_EQ(panel.text(Field::txtWattHours), wattHours[i]);
        EXPECT_EQ(panel.text(Field::txtKwh), kilowattHours[i]);
    }
}

TEST(EnergyTick, AnHourOfTicksAddsEachTicksEnergyRoundedToAThousandth)
{
    const struct {
        int volts, amps;
        const char* wattHours;
        const char* kilowattHours;
    } cases[] = {
        {210, 1, "216.000 WH", "0.2160 Kwh"},      // 2.9 % over 210 Wh
        {233, 1, "216.000 WH", "0.2160 Kwh"},      // 7.3 % under 233 Wh
        {234, 1, "222.548 WH", "0.2225 Kwh"},      // 0.0065 Wh a tick: halves go both ways
        {235, 1, "252.000 WH", "0.2520 Kwh"},      // 7.2 % over 235 Wh
        {250, 4, "1008.000 WH", "1.0080 Kwh"},     // 0.8 % over 1000 Wh
        {250, 200, "50004.000 WH", "50.0040 Kwh"}, // the top of both bars
    };
    for (const auto& hour : cases) {
        PanelState panel = afterReset();
        panel.setValue(Bar::VScroll1, hour.volts);
        panel.setValue(Bar::VScroll2, hour.amps);
        for (int tick = 0; tick < 36000; ++tick)
            energyTick(panel);
        EXPECT_EQ(panel.text(Field::txtWattHours), hour.wattHours) << hour.volts * hour.amps;
        EXPECT_EQ(panel.text(Field::txtKwh), hour.kilowattHours) << hour.volts * hour.amps;
    }
}

TEST(EnergyTick, NoCurrentKeepsTheTotal)
{
    PanelState panel = afterReset();
    panel.setValue(Bar::VScroll2, 0);
    energyTick(panel);
    EXPECT_EQ(panel.text(Field::txtAmps), "0 Amps");
    EXPECT_EQ(panel.text(Field::txtWatts), "0 Watts");
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.000 WH");
    EXPECT_EQ(panel.text(Field::txtKwh), "0.0000 Kwh");

    panel.setText(Field::txtWattHours, "-0.0001");
    energyTick(panel);
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.000 WH");
}

TEST(EnergyTick, CarriesOnFromATypedTotal)
{
    // The field's own name, as at start-up, counts from zero like any text
    // that starts with no number.
    const std::pair<const char*, const char*> cases[] = {
        {"100", "100.028 WH"},
        {"  12.5abc", "12.528 WH"},
        {"txtWattHours", "0.028 WH"},
        {"-5", "-4.972 WH"},
    };
    for (const auto& [typed, shown] : cases) {
        PanelState panel = afterReset();
        panel.setText(Field::txtWattHours, typed);
        energyTick(panel);
        EXPECT_EQ(panel.text(Field::txtWattHours), shown) << typed;
    }
    // Kilowatt hours come from the sum before it is rounded: 0.049777… Wh,
    // not the 0.050 that the watt-hour field shows.
    PanelState panel = afterReset();
    panel.setText(Field::txtWattHours, "0.022");
    energyTick(panel);
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.050 WH");
    EXPECT_EQ(panel.text(Field::txtKwh), "0.0000 Kwh");
}

TEST(EnergyTick, ATotalTooLargeStopsTheTickAfterTheReadoutsAndKeepsTheTypedText)
{
    PanelState panel = afterReset();
    panel.setText(Field::txtWattHours, "1e999");
    EXPECT_THROW(energyTick(panel), Overflow);
    EXPECT_EQ(panel.text(Field::txtWatts), "1000 Watts");
    EXPECT_EQ(panel.text(Field::txtWattHours), "1e999");
    EXPECT_EQ(panel.text(Field::txtKwh), "0.000");
}

TEST(EnergyTick, TextTypedIntoTheReadoutsIsOverwrittenBeforeItIsRead)
{
    PanelState panel = afterReset();
    panel.setText(Field::txtVolts, "999999");
    panel.setText(Field::txtAmps, "1e999");
    panel.setText(Field::txtWatts, "-7");
    energyTick(panel);
    EXPECT_EQ(panel.text(Field::txtVolts), "250 Volts");
    EXPECT_EQ(panel.text(Field::txtWatts), "1000 Watts");
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.028 WH");
}
