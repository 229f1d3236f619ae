#include "panel.h"

namespace wattmeter {

std::string_view fieldName(Field field)
{
    switch (field) {
    case Field::txtVolts: return "txtVolts";
    case Field::txtAmps: return "txtAmps";
    case Field::txtWatts: return "txtWatts";
    case Field::txtWattHours: return "txtWattHours";
    case Field::txtKwh: return "txtKwh";
    case Field::txtTimeStart: return "txtTimeStart";
    case Field::txtTimeStop: return "txtTimeStop";
    case Field::txtTimeElapsed: return "txtTimeElapsed";
    }
    return {};
}

std::string_view barName(Bar bar)
{
    return bar == Bar::VScroll1 ? "VScroll1" : "VScroll2";
}

BarSetting barSetting(Bar bar)
{
    // Volts 250 down to 210, amps 200 down to 0.
    return bar == Bar::VScroll1 ? BarSetting{250, 210, 250} : BarSetting{200, 0, 4};
}

} // namespace wattmeter
