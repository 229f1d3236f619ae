#pragma once

#include "panel.h"

#include <array>
#include <string>

namespace wattmeter {

// The meter's state without a window: what the metering operations read and
// write when no screen is involved.
class PanelState : public Panel {
public:
    PanelState();

    std::string text(Field field) const override;
    void setText(Field field, std::string_view text) override;
    int value(Bar bar) const override;
    // Keeps the value within the bar's ends, as dragging the thumb would.
    void setValue(Bar bar, int value) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;

private:
    std::array<std::string, allFields.size()> texts_;
    std::array<int, allBars.size()> values_;
    bool timerEnabled_ = false;
};

} // namespace wattmeter
