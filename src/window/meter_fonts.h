#pragma once

namespace wattmeter {

// Makes the fonts the window names available, once for the application:
// adds those shipped in a "fonts" folder beside the program, as on Windows,
// where no package brings them, and maps each name to the nearest free font,
// "OCR A Extended" to OCR-A, "Arial" to Liberation Sans, "Script MT Bold" to
// Kaushan Script. The names stay as they are; Qt takes the substitute only
// where the named font is not installed.
void installMeterFonts();

} // namespace wattmeter
