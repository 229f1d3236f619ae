#pragma once

#include "panel.h"

namespace wattmeter {

// One 100 ms tick of the meter: shows the volts and amps set on the bars and
// their product in watts, and adds one tick's energy to the total in
// txtWattHours. Every number goes through the fields and is read back from
// them, so the total is the previous displayed total plus W / 36000, rounded
// to the thousandth at each tick, and a total typed by the user is carried on.
// An error stops the tick where it happens; fields written before stay written.
void energyTick(Panel& panel);

} // namespace wattmeter
