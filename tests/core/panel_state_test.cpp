#include "panel_state.h"

#include <gtest/gtest.h>

using namespace wattmeter;

TEST(PanelState, StartsStoppedWithEachFieldShowingItsNameAndTheBarsAt250And4)
{
    const PanelState panel;
    EXPECT_FALSE(panel.timerEnabled());
    EXPECT_EQ(panel.value(Bar::VScroll1), 250);
    EXPECT_EQ(panel.value(Bar::VScroll2), 4);
    EXPECT_EQ(panel.text(Field::txtVolts), "txtVolts");
    EXPECT_EQ(panel.text(Field::txtWattHours), "txtWattHours");
    EXPECT_EQ(panel.text(Field::txtKwh), "txtKwh");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "txtTimeElapsed");
}

TEST(PanelState, BarValuesStayBetweenTheirEnds)
{
    PanelState panel;
    panel.setValue(Bar::VScroll1, -32768);
    panel.setValue(Bar::VScroll2, -1);
    EXPECT_EQ(panel.value(Bar::VScroll1), 210);
    EXPECT_EQ(panel.value(Bar::VScroll2), 0);
    panel.setValue(Bar::VScroll1, 251);
    panel.setValue(Bar::VScroll2, 32767);
    EXPECT_EQ(panel.value(Bar::VScroll1), 250);
    EXPECT_EQ(panel.value(Bar::VScroll2), 200);
}
