#include "energy_tick.h"

#include "number_text.h"

namespace wattmeter {

namespace {
constexpr double ticksPerHour = 36000;
constexpr double wattHoursPerKilowattHour = 1000;
} // namespace

void energyTick(Panel& panel)
{
    panel.setText(Field::txtVolts, wholeNumberText(panel.value(Bar::VScroll1)) + " Volts");
    panel.setText(Field::txtAmps, wholeNumberText(panel.value(Bar::VScroll2)) + " Amps");
    const double volts = readLeadingNumber(panel.text(Field::txtVolts));
    const double amps = readLeadingNumber(panel.text(Field::txtAmps));
    panel.setText(Field::txtWatts, valueText(volts * amps) + " Watts");

    const double increment = readLeadingNumber(panel.text(Field::txtWatts)) / ticksPerHour;
    const double total = readLeadingNumber(panel.text(Field::txtWattHours)) + increment;
    panel.setText(Field::txtWattHours, fixedText(total, 3) + " WH");
    panel.setText(Field::txtKwh, fixedText(total / wattHoursPerKilowattHour, 4) + " Kwh");
}

} // namespace wattmeter
