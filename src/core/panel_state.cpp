#include "panel_state.h"

#include <algorithm>
#include <cstddef>

namespace wattmeter {

namespace {
std::size_t indexOf(Field field)
{
    return static_cast<std::size_t>(field);
}

std::size_t indexOf(Bar bar)
{
    return static_cast<std::size_t>(bar);
}
} // namespace

PanelState::PanelState()
    : values_{barSetting(Bar::VScroll1).initial, barSetting(Bar::VScroll2).initial}
{
    for (Field field : allFields)
        texts_[indexOf(field)] = fieldName(field);
}

std::string PanelState::text(Field field) const
{
    return texts_[indexOf(field)];
}

void PanelState::setText(Field field, std::string_view text)
{
    texts_[indexOf(field)] = text;
}

int PanelState::value(Bar bar) const
{
    return values_[indexOf(bar)];
}

void PanelState::setValue(Bar bar, int value)
{
    const BarSetting setting = barSetting(bar);
    values_[indexOf(bar)] = std::clamp(value, setting.bottom, setting.top);
}

bool PanelState::timerEnabled() const
{
    return timerEnabled_;
}

void PanelState::setTimerEnabled(bool enabled)
{
    timerEnabled_ = enabled;
}

} // namespace wattmeter
