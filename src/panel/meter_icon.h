#pragma once

#include <QIcon>

namespace wattmeter {

// A window with its title bar, drawn at a slant: white with a cyan title bar,
// at 32 and 16 pixels.
QIcon meterIcon();

} // namespace wattmeter
