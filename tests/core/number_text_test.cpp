#include "errors.h"
#include "number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace wattmeter;

TEST(ReadLeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest)
{
    EXPECT_EQ(readLeadingNumber("250 Volts"), 250);
    EXPECT_EQ(readLeadingNumber("0.028 WH"), 0.028);
    EXPECT_EQ(readLeadingNumber(" \t 12.5abc"), 12.5);
    EXPECT_EQ(readLeadingNumber("-5"), -5);
    EXPECT_EQ(readLeadingNumber("+7.25"), 7.25);
    EXPECT_EQ(readLeadingNumber(".5"), 0.5);
    EXPECT_EQ(readLeadingNumber("5."), 5);
    EXPECT_EQ(readLeadingNumber("1.5e3 WH"), 1500);
    EXPECT_EQ(readLeadingNumber("2E-2"), 0.02);
    EXPECT_EQ(readLeadingNumber("3e"), 3);
    EXPECT_EQ(readLeadingNumber("3e+ Watts"), 3);
    EXPECT_EQ(readLeadingNumber("12,5"), 12); // "." alone is the decimal point
    EXPECT_EQ(readLeadingNumber("1,5"), 1);
    EXPECT_EQ(readLeadingNumber("1,5e3 WH"), 1);
    EXPECT_EQ(readLeadingNumber("1 2"), 1);
}

TEST(ReadLeadingNumber, TextWithoutANumberReadsAsZero)
{
    for (const char* text : {"", "txtWattHours", "   ", "-", ".", "+.e5", "\n5", "e5"})
        EXPECT_EQ(readLeadingNumber(text), 0) << text;
}

TEST(ReadLeadingNumber, TooLargeIsAnOverflowAndTooSmallIsZero)
{
    EXPECT_THROW(readLeadingNumber("1e999"), Overflow);
    EXPECT_THROW(readLeadingNumber("-1e309 WH"), Overflow);
    EXPECT_THROW(readLeadingNumber(std::string(400, '9')), Overflow);
    EXPECT_THROW(readLeadingNumber("1" + std::string(400, '0') + "e-10"), Overflow);
    EXPECT_EQ(readLeadingNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(readLeadingNumber("1e-999"), 0);
    EXPECT_EQ(readLeadingNumber("0." + std::string(400, '0') + "1e10"), 0);
    EXPECT_EQ(readLeadingNumber("0e99999999999999999999"), 0);
}

TEST(ValueText, AWholeNumberIsItsDigitsAtAnyMagnitude)
{
    EXPECT_EQ(valueText(1000), "1000");
    EXPECT_EQ(valueText(100000), "100000");
    EXPECT_EQ(valueText(-2e20), "-200000000000000000000");
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(valueText(largest).size(), 309u);
    EXPECT_EQ(readLeadingNumber(valueText(largest)), largest);
    EXPECT_EQ(valueText(0.25), "0.25");
}

TEST(FixedText, RoundsTheExactValueToNearest)
{
    EXPECT_EQ(fixedText(1000.0 / 36000, 3), "0.028");
    EXPECT_EQ(fixedText(0.0277777 / 1000, 4), "0.0000");
    EXPECT_EQ(fixedText(0.0557777 / 1000, 4), "0.0001");
    EXPECT_EQ(fixedText(234.0 / 36000, 3), "0.006"); // 0.0065 as a double lies below the half
    EXPECT_EQ(fixedText(0.0625, 3), "0.062");        // an exact half goes to even
    EXPECT_EQ(fixedText(50004, 3), "50004.000");
    EXPECT_EQ(fixedText(1e20, 3), "100000000000000000000.000");
    EXPECT_EQ(fixedText(-4.9722, 3), "-4.972");
}

TEST(FixedText, ZeroNeverShowsAMinus)
{
    EXPECT_EQ(fixedText(-0.0, 3), "0.000");
    EXPECT_EQ(fixedText(-0.0004, 3), "0.000");
    EXPECT_EQ(fixedText(-0.00004, 4), "0.0000");
    EXPECT_EQ(fixedText(-0.0005001, 3), "-0.001");
}

TEST(FixedText, LargestTotalReadsBackExactly)
{
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(readLeadingNumber(fixedText(largest, 3) + " WH"), largest);
}
