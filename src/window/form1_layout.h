#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The controls of the meter window, in the order they are created, which is
// also their stacking order: a caption label comes before the field that is
// drawn over its bottom edge. Positions are in twips (15 to a logical pixel),
// relative to the window's client area or to the frame that contains them.
namespace wattmeter::layout {

inline constexpr int twipsPerPixel = 15;
inline constexpr int clientWidth = 7335;
inline constexpr int clientHeight = 10110;

enum class Kind { Label, Frame, TextField, Button, ScrollBar };
enum class Colours { System, BlueText, GreenOnBlack };

struct Font {
    const char* family; // nullptr: the application's own font
    double points;
    bool bold;
};

struct Control {
    const char* name;
    Kind kind;
    const char* container; // nullptr: the window itself
    const char* caption;   // a label's, frame's or button's caption, a field's initial text
    int left, top, width, height;
    Font font;
    Colours colours;
    int tabIndex;
    const char* captionLabel; // the label that names a text field
};

inline constexpr Font noFont{nullptr, 0, false};
inline constexpr Font script{"Script MT Bold", 12, true};
inline constexpr Font frameFont{"Arial", 9.75, false};
inline constexpr Font captionFont{"Arial", 12, false};
inline constexpr Font boldCaptionFont{"Arial", 12, true};
inline constexpr Font readoutFont{"OCR A Extended", 14.25, true};
inline constexpr Font timeFont{"OCR A Extended", 18, true};
// The bar ends' numbers take the small sans that such labels have by default
// on Windows, not the desktop's font, which at 11 pt no longer fits them.
inline constexpr Font barEndFont{"Arial", 8, false};

using enum Kind;
using enum Colours;

// The title's box reaches down to the frames: a line of the script font,
// with its descenders, is taller than the 255 twips first given to it.
// clang-format off
inline constexpr std::array controls{
    Control{"Label14", Label, nullptr, "Watt Hour Simulator by Tolvane", 240, 120, 6855, 360, script, System, 26, nullptr},
    Control{"Frame1", Frame, nullptr, "Start Stop Reset", 240, 480, 3975, 1095, frameFont, System, 0, nullptr},
    Control{"Frame2", Frame, nullptr, "Simulate Volts and Current", 4440, 480, 2655, 6015, frameFont, System, 11, nullptr},
    Control{"Label1", Label, nullptr, "Voltage", 360, 1800, 3855, 375, captionFont, BlueText, 7, nullptr},
    Control{"txtVolts", TextField, nullptr, "txtVolts", 360, 2160, 3855, 495, readoutFont, GreenOnBlack, 3, "Label1"},
    Control{"Label2", Label, nullptr, "Current", 360, 2760, 3855, 375, captionFont, BlueText, 8, nullptr},
    Control{"txtAmps", TextField, nullptr, "txtAmps", 360, 3120, 3855, 495, readoutFont, GreenOnBlack, 4, "Label2"},
    Control{"Label3", Label, nullptr, "Watts", 360, 3720, 3855, 375, captionFont, BlueText, 9, nullptr},
    Control{"txtWatts", TextField, nullptr, "txtWatts", 360, 4080, 3855, 495, readoutFont, GreenOnBlack, 5, "Label3"},
    Control{"Label4", Label, nullptr, "Watt Hours", 360, 4680, 3855, 375, captionFont, BlueText, 10, nullptr},
    Control{"txtWattHours", TextField, nullptr, "txtWattHours", 360, 5040, 3855, 495, readoutFont, GreenOnBlack, 6, "Label4"},
    Control{"Label15", Label, nullptr, "Kilo Watt Hours", 360, 5640, 3855, 375, captionFont, BlueText, 29, nullptr},
    Control{"txtKwh", TextField, nullptr, "txtKwh", 360, 6000, 3855, 495, readoutFont, GreenOnBlack, 28, "Label15"},
    Control{"Label11", Label, nullptr, "Start Time", 360, 6720, 5655, 375, boldCaptionFont, BlueText, 23, nullptr},
    Control{"txtTimeStart", TextField, nullptr, "txtTimeStart", 360, 7080, 5655, 495, timeFont, System, 20, "Label11"},
    Control{"Label12", Label, nullptr, "Stop Time", 360, 7680, 5655, 375, boldCaptionFont, BlueText, 24, nullptr},
    Control{"txtTimeStop", TextField, nullptr, "txtTimeStop", 360, 8040, 5655, 495, timeFont, System, 21, "Label12"},
    Control{"Label13", Label, nullptr, "Elapsed Time (Seconds)", 360, 8640, 5655, 375, boldCaptionFont, BlueText, 25, nullptr},
    Control{"txtTimeElapsed", TextField, nullptr, "txtTimeElapsed", 360, 9000, 5655, 495, timeFont, System, 22, "Label13"},
    Control{"cmdStart", Button, "Frame1", "Start", 240, 360, 975, 495, captionFont, System, 1, nullptr},
    Control{"cmdStop", Button, "Frame1", "Stop", 1560, 360, 975, 495, captionFont, System, 2, nullptr},
    Control{"cmdReset", Button, "Frame1", "Reset", 2760, 360, 975, 495, captionFont, System, 27, nullptr},
    Control{"Label5", Label, "Frame2", "V", 360, 240, 375, 255, boldCaptionFont, System, 14, nullptr},
    Control{"Label6", Label, "Frame2", "I", 1680, 240, 375, 255, boldCaptionFont, System, 15, nullptr},
    Control{"Label7", Label, "Frame2", "250", 360, 600, 375, 255, barEndFont, System, 16, nullptr},
    Control{"Label9", Label, "Frame2", "200", 1680, 600, 375, 255, barEndFont, System, 18, nullptr},
    Control{"VScroll1", ScrollBar, "Frame2", nullptr, 240, 960, 615, 4575, noFont, System, 12, nullptr},
    Control{"VScroll2", ScrollBar, "Frame2", nullptr, 1560, 960, 615, 4575, noFont, System, 13, nullptr},
    Control{"Label8", Label, "Frame2", "210", 360, 5640, 375, 255, barEndFont, System, 17, nullptr},
    Control{"Label10", Label, "Frame2", "0", 1680, 5640, 375, 255, barEndFont, System, 19, nullptr},
};
// clang-format on

// The window looks a control's frame and a field's caption up by name when it
// creates the control: each must name a control created before it.
consteval bool namesOnlyEarlierControls()
{
    const auto createdBefore = [](const char* name, std::size_t index) {
        for (std::size_t i = 0; i < index; ++i)
            if (std::string_view{controls[i].name} == name)
                return true;
        return false;
    };
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (const char* name : {controls[i].container, controls[i].captionLabel})
            if (name && !createdBefore(name, i))
                return false;
    return true;
}
static_assert(namesOnlyEarlierControls(),
              "a container or caption label names no control created before it");

} // namespace wattmeter::layout
