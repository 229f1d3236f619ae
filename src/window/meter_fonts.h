#pragma once

#include "window/form1_layout.h"

#include <QFont>

namespace wattmeter {

// Maps the window's font names to the nearest free fonts: "OCR A Extended"
// to OCR-A (its bold "OCRABold"), "Arial" to Liberation Sans, "Script MT
// Bold" to Kaushan Script.
// The names stay as they are; Qt takes the substitute only where the named
// font is not installed.
void installFontSubstitutes();

// Adds the substitutes shipped in a "fonts" folder beside the program, as on
// Windows, where no package brings them; without that folder, does nothing.
void addShippedFonts();

QFont meterFont(const layout::Font& font);

} // namespace wattmeter
