#pragma once

#include <array>
#include <string>
#include <string_view>

namespace wattmeter {

// The eight text fields of the meter; the running energy total lives only in
// txtWattHours.
enum class Field {
    txtVolts,
    txtAmps,
    txtWatts,
    txtWattHours,
    txtKwh,
    txtTimeStart,
    txtTimeStop,
    txtTimeElapsed
};

inline constexpr std::array allFields{
    Field::txtVolts, Field::txtAmps,      Field::txtWatts,    Field::txtWattHours,
    Field::txtKwh,   Field::txtTimeStart, Field::txtTimeStop, Field::txtTimeElapsed,
};

// The voltage and current settings.
enum class Bar { VScroll1, VScroll2 };

inline constexpr std::array allBars{Bar::VScroll1, Bar::VScroll2};

// A field's name, which is also the text it shows until something overwrites it.
std::string_view fieldName(Field field);
std::string_view barName(Bar bar);

// A bar's two ends and the value it starts from and is reset to. The top end
// is the larger number on both bars, so moving the thumb upwards raises it.
struct BarSetting {
    int top;
    int bottom;
    int initial;
};
BarSetting barSetting(Bar bar);

// Everything the metering operations may touch: field texts, bar values and
// whether the timer runs. The headless state and the window both provide it.
class Panel {
public:
    virtual ~Panel() = default;

    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, std::string_view text) = 0;
    virtual int value(Bar bar) const = 0;
    virtual void setValue(Bar bar, int value) = 0;
    virtual bool timerEnabled() const = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

protected:
    Panel() = default;
    Panel(const Panel&) = default;
    Panel& operator=(const Panel&) = default;
};

} // namespace wattmeter
