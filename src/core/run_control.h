#pragma once

#include "panel.h"

#include <chrono>
#include <functional>

namespace wattmeter {

using Clock = std::function<std::chrono::system_clock::time_point()>;

// Stamps the start time and sets the meter running; a running meter keeps
// running and keeps its total.
void start(Panel& panel, const Clock& now = std::chrono::system_clock::now);

// Stops the meter, stamps the stop time and shows the whole seconds from the
// start text, which the user may have typed, to the new stop stamp. Throws
// TypeMismatch when the start text is no date-time; the meter is stopped and
// the stop stamp written by then.
void stop(Panel& panel, const Clock& now = std::chrono::system_clock::now);

// Zeroes the readouts, clears the time fields and puts the bars back to
// 250 V and 4 A. A running meter runs on and counts up again from zero.
void reset(Panel& panel);

} // namespace wattmeter
