#include "run_control.h"

#include "date_time.h"
#include "errors.h"
#include "number_text.h"

namespace wattmeter {

void start(Panel& panel, const Clock& now)
{
    panel.setText(Field::txtTimeStart, dateTimeText(now()));
    panel.setTimerEnabled(true);
}

void stop(Panel& panel, const Clock& now)
{
    panel.setTimerEnabled(false);
    panel.setText(Field::txtTimeStop, dateTimeText(now()));
    const std::string startText = panel.text(Field::txtTimeStart);
    if (startText.find_first_not_of(" \t") == std::string::npos)
        throw TypeMismatch{"Start Time is empty"};
    const int elapsed = secondsBetween(startText, panel.text(Field::txtTimeStop));
    panel.setText(Field::txtTimeElapsed, wholeNumberText(elapsed) + " Seconds");
}

void reset(Panel& panel)
{
    panel.setText(Field::txtVolts, "00");
    panel.setText(Field::txtAmps, "00");
    panel.setText(Field::txtWatts, "00");
    panel.setText(Field::txtWattHours, "0.000");
    panel.setText(Field::txtKwh, "0.000");
    panel.setText(Field::txtTimeStart, "");
    panel.setText(Field::txtTimeStop, "");
    panel.setText(Field::txtTimeElapsed, "");
    panel.setValue(Bar::VScroll1, barSetting(Bar::VScroll1).initial);
    panel.setValue(Bar::VScroll2, barSetting(Bar::VScroll2).initial);
}

} // namespace wattmeter
