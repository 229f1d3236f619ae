#include "date_time.h"
#include "energy_tick.h"
#include "errors.h"
#include "panel_state.h"
#include "run_control.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

using namespace wattmeter;
using namespace std::chrono;

namespace {
// A clock that reads whatever the test set it to.
struct TestClock {
    system_clock::time_point time = sys_days{2026y / December / 7} + 16h + 5min + 9s;
    Clock clock()
    {
        return [this] { return time; };
    }
};

class RunControl : public testing::Test {
protected:
    TimeZone zone{"UTC0"};
    PanelState panel;
    TestClock now;
};
} // namespace

TEST_F(RunControl, StartStampsTheTimeAndRunsTheMeterWithoutTouchingTheRest)
{
    start(panel, now.clock());
    EXPECT_TRUE(panel.timerEnabled());
    EXPECT_EQ(panel.text(Field::txtTimeStart), "2026-12-07 16:05:09");
    EXPECT_EQ(panel.text(Field::txtTimeStop), "txtTimeStop");
    EXPECT_EQ(panel.text(Field::txtWattHours), "txtWattHours");
}

TEST_F(RunControl, StopMeasuresWholeSecondsFromTheStartText)
{
    now.time += 400ms;
    start(panel, now.clock());
    now.time += 500ms;
    stop(panel, now.clock());
    EXPECT_FALSE(panel.timerEnabled());
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "0 Seconds");

    now.time += 125s;
    stop(panel, now.clock());
    EXPECT_FALSE(panel.timerEnabled());
    EXPECT_EQ(panel.text(Field::txtTimeStop), "2026-12-07 16:07:14");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "125 Seconds");
}

TEST_F(RunControl, StopCountsFromATypedStartText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2026-12-07 16:05:14", "-5 Seconds"},
        {"  2026-12-07T16:00  ", "309 Seconds"},
        {"2026-12-06", "144309 Seconds"},
        {"16:04:09", "60 Seconds"},
    };
    for (const auto& [typed, elapsed] : cases) {
        panel.setText(Field::txtTimeStart, typed);
        stop(panel, now.clock());
        EXPECT_EQ(panel.text(Field::txtTimeElapsed), elapsed) << typed;
    }
}

TEST_F(RunControl, StopWithoutAStartTimeIsATypeMismatchAfterStoppingAndStamping)
{
    const std::pair<const char*, const char*> cases[] = {
        {"txtTimeStart", "Type mismatch: \"txtTimeStart\" is not a date and time"},
        {"", "Type mismatch: Start Time is empty"},
        {" \t ", "Type mismatch: Start Time is empty"},
        {"2026-02-30 10:00:00", "Type mismatch: \"2026-02-30 10:00:00\" is not a date and time"},
    };
    for (const auto& [startText, message] : cases) {
        panel.setText(Field::txtTimeStart, startText);
        panel.setText(Field::txtTimeElapsed, "earlier count");
        panel.setTimerEnabled(true);
        try {
            stop(panel, now.clock());
            ADD_FAILURE() << startText;
        } catch (const TypeMismatch& error) {
            EXPECT_STREQ(error.what(), message);
        }
        EXPECT_FALSE(panel.timerEnabled());
        EXPECT_EQ(panel.text(Field::txtTimeStop), "2026-12-07 16:05:09");
        EXPECT_EQ(panel.text(Field::txtTimeElapsed), "earlier count");
    }
}

TEST_F(RunControl, ResetZeroesEverythingButLeavesTheMeterRunning)
{
    start(panel, now.clock());
    panel.setValue(Bar::VScroll1, 210);
    panel.setValue(Bar::VScroll2, 0);
    energyTick(panel);
    reset(panel);
    EXPECT_TRUE(panel.timerEnabled());
    const char* const zeroed[] = {"00", "00", "00", "0.000", "0.000", "", "", ""};
    for (const Field field : allFields)
        EXPECT_EQ(panel.text(field), zeroed[static_cast<int>(field)]) << fieldName(field);
    EXPECT_EQ(panel.value(Bar::VScroll1), 250);
    EXPECT_EQ(panel.value(Bar::VScroll2), 4);
    energyTick(panel);
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.028 WH");
}

TEST_F(RunControl, ASecondRunTimesItselfButCarriesTheTotalOn)
{
    reset(panel);
    start(panel, now.clock());
    energyTick(panel);
    now.time += 10s;
    stop(panel, now.clock());
    now.time += 50s;
    start(panel, now.clock());
    energyTick(panel);
    now.time += 3s;
    stop(panel, now.clock());
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "3 Seconds");
    EXPECT_EQ(panel.text(Field::txtWattHours), "0.056 WH");
}

namespace {
// A decimal comma and a point between thousands, as in German.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// The meter under a locale with a decimal comma: C++'s global locale, which
// streams take, or the C library's, which printf and strtod take.
class UnderACommaLocale : public RunControl, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (!GetParam()) {
            std::locale::global(std::locale{std::locale::classic(), new CommaDecimal});
            return;
        }
        // glibc's name for it, made by scripts/test where missing, then Windows'.
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "German"))
            GTEST_SKIP() << "no German locale here: localedef -i de_DE -f UTF-8 de_DE.UTF-8";
    }
    void TearDown() override
    {
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C");
    }
};
} // namespace

TEST_P(UnderACommaLocale, ReadsAndWritesAPointAsEver)
{
    panel.setText(Field::txtWattHours, "1234.5 WH");
    start(panel, now.clock());
    energyTick(panel);
    now.time += 125s;
    stop(panel, now.clock());
    EXPECT_EQ(panel.text(Field::txtWattHours), "1234.528 WH");
    EXPECT_EQ(panel.text(Field::txtKwh), "1.2345 Kwh");
    EXPECT_EQ(panel.text(Field::txtTimeStart), "2026-12-07 16:05:09");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "125 Seconds");
}

INSTANTIATE_TEST_SUITE_P(CppOrC, UnderACommaLocale, testing::Bool(),
                         [](const auto& info) { return info.param ? "CLibrary" : "CppGlobal"; });

TEST(RunControlAcrossSummerTime, CountsRealSecondsWhenTheClocksChange)
{
    if (!summerTimeRulesFollowTz)
        GTEST_SKIP() << "the C library keeps its own summer-time dates";
    const TimeZone zone{centralEurope};
    PanelState panel;
    TestClock now;
    now.time = sys_days{2026y / March / 29} + 30min; // 01:30 CET, half an hour before the change
    start(panel, now.clock());
    now.time += 1h;
    stop(panel, now.clock());
    EXPECT_EQ(panel.text(Field::txtTimeStart), "2026-03-29 01:30:00");
    EXPECT_EQ(panel.text(Field::txtTimeStop), "2026-03-29 03:30:00");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "3600 Seconds");

    now.time = sys_days{2026y / October / 24} + 23h; // Sunday 01:00 CEST
    start(panel, now.clock());
    now.time += 3h;
    stop(panel, now.clock());
    EXPECT_EQ(panel.text(Field::txtTimeStop), "2026-10-25 03:00:00");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "10800 Seconds");

    // The hour from 02:00 to 03:00 comes twice: its stamps are in UTC.
    now.time = sys_days{2026y / October / 25} + 30min; // 02:30 CEST
    start(panel, now.clock());
    now.time += 40min;
    stop(panel, now.clock());
    EXPECT_EQ(panel.text(Field::txtTimeStart), "2026-10-25 00:30:00Z");
    EXPECT_EQ(panel.text(Field::txtTimeStop), "2026-10-25 01:10:00Z");
    EXPECT_EQ(panel.text(Field::txtTimeElapsed), "2400 Seconds");

    // Typed without an offset, a time of that hour is the earlier, at every
    // call, whatever was asked before; the skipped hour reads as summer time.
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(secondsBetween("2026-10-25 02:30:00", "2026-10-25 03:30:00"), 7200);
        EXPECT_EQ(secondsBetween("2026-10-25 01:59:59", "2026-10-25 02:00:00"), 1);
        EXPECT_EQ(secondsBetween("2026-10-25 02:59:59+01", "2026-10-25 03:00:00"), 1);
        EXPECT_EQ(secondsBetween("2026-03-29 01:59:59", "2026-03-29 02:30:00"), 1801);
        EXPECT_EQ(secondsBetween("2026-03-29 02:30:00", "2026-03-29 03:30:00"), 0);
    }
}
