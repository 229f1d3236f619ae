#pragma once

namespace wattmeter {

// Sets the application up as the meter's window needs it, once, before the
// first window: the desktop name that ties it to its entry and icon, the
// meter's style, the fonts the window names, and the screen reader's quiet
// for the program's own rewrites of its fields. The program, its tests and
// its benchmarks all call it, so that each sees the window as shipped.
void setUpMeterApplication();

} // namespace wattmeter
