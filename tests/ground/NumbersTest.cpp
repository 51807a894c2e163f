// Numbers as settings.ini, command lines, the wire and messages hold them:
// the same under every locale (this file runs once more under a German one,
// whose C library reads "1.6" as 1 and writes 2.5 as "2,5").

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ground/Numbers.h"

using namespace fw;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint64_t kAllBits = std::numeric_limits<uint64_t>::max();

} // namespace

// The number a stored value begins with, as the port number is read from
// settings.ini.
TEST(LeadingNumber, ReadsTheNumberTheTextBeginsWith)
{
    struct Case {
        const char* text;
        double number;
    } cases[] = {
        {"1.6", 1.6},         {"07", 7},          {"COM5", 0},        {"12abc", 12},     {" 1 . 6 ", 1.6},
        {"-2.5", -2.5},       {"+3", 3},          {".5", 0.5},        {"5.", 5},         {"1,6", 1},
        {"1e3", 1000},        {"1D2", 100},       {"2.5e-1", 0.25},   {"2E", 2},         {"3e+", 3},
        {"", 0},              {"-", 0},           {".", 0},           {"1e400", kInfinity},
        {"-1e400", -kInfinity}, {"1e-400", 0},    {"0.00001e-320", 0}, {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingNumber(c.text), c.number);
    }
}

// A whole text as a port number: the dialog's OK reads the list text so.
TEST(ToInt16, RoundsHalvesToEvenAndRefusesWhatIsNoNumber)
{
    struct Case {
        const char* text;
        std::optional<int16_t> number;  // none: refused
    } cases[] = {
        {"1.6", 2}, {" 2.5 ", 2}, {"3.5", 4},     {"-0.5", 0},   {"1e4", 10000},          {"32767", 32767},
        {"-32768.4", -32768},   {"32767.5", std::nullopt}, {"40000", std::nullopt}, {"abc", std::nullopt},
        {"1.6x", std::nullopt}, {"1,6", std::nullopt},     {"", std::nullopt},      {"1e400", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.number)
            EXPECT_EQ(toInt16(c.text), *c.number);
        else
            EXPECT_THROW(toInt16(c.text), NumberError);
    }
}

// What the dialog's list shows of a stored number, and what settings.ini
// gets back from it.
TEST(PlainDecimal, WritesWholeNumbersWithoutAPointAndTheRestToFifteenDigits)
{
    struct Case {
        double number;
        const char* text;
    } cases[] = {
        {7, "7"},         {-3, "-3"},       {2.5, "2.5"},       {1.6, "1.6"},           {0.1 + 0.2, "0.3"},
        {-0.0, "0"},      {1e-5, "1e-05"},  {1e15, "1e+15"},    {123456789012345, "123456789012345"},
        {1.0 / 3, "0.333333333333333"}, {kInfinity, "inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(plainDecimal(c.number), c.text);
    }
}

// The progress line's percentage and the transcript's time stamps.
TEST(FixedDecimal, WritesTheGivenPlacesPaddedOnTheLeft)
{
    struct Case {
        double number;
        int decimals;
        std::size_t width;
        const char* text;
    } cases[] = {
        {7.5, 1, 5, "  7.5"},      {100, 1, 5, "100.0"},        {0.39, 1, 5, "  0.4"},   {99.96, 1, 5, "100.0"},
        {0.066, 3, 10, "     0.066"}, {1234.5678, 3, 10, "  1234.568"}, {12345678.9, 3, 10, "12345678.900"},
        {-1.25, 1, 0, "-1.2"},     {2.5, 0, 0, "2"},           {1e20, 1, 0, "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fixedDecimal(c.number, c.decimals, c.width), c.text);
    }
}

// Digits only, then a number in range: a TCP port, a command line's port
// number or count, the ISP tool's time limit, an adapter's latency timer.
TEST(NumberFromDigits, TakesDigitsOnlyWithinTheRange)
{
    struct Case {
        const char* text;
        uint64_t lowest, highest;
        AboveRange above;
        std::optional<uint64_t> number;  // none: refused
    } cases[] = {
        {"7", 1, 255, AboveRange::Refused, 7},
        {"007", 1, 255, AboveRange::Refused, 7},
        {"255", 1, 255, AboveRange::Refused, 255},
        {"256", 1, 255, AboveRange::Refused, std::nullopt},
        {"0", 1, 255, AboveRange::Refused, std::nullopt},
        {"0", 0, 255, AboveRange::Refused, 0},
        {"", 0, 255, AboveRange::Refused, std::nullopt},
        {"+5", 1, 255, AboveRange::Refused, std::nullopt},
        {"-5", 0, 255, AboveRange::Refused, std::nullopt},
        {" 5", 1, 255, AboveRange::Refused, std::nullopt},
        {"5 ", 1, 255, AboveRange::Refused, std::nullopt},
        {"1.6", 1, 255, AboveRange::Refused, std::nullopt},
        {"1,6", 1, 255, AboveRange::Refused, std::nullopt},
        {"0x10", 1, 255, AboveRange::Refused, std::nullopt},
        {"18446744073709551615", 0, kAllBits, AboveRange::Refused, kAllBits},
        {"18446744073709551616", 0, kAllBits, AboveRange::Refused, std::nullopt},
        {"700000", 1, 604800, AboveRange::Highest, 604800},
        {"99999999999999999999999", 1, 604800, AboveRange::Highest, 604800},
        {"0", 1, 604800, AboveRange::Highest, std::nullopt},
        {"12x", 1, 604800, AboveRange::Highest, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(numberFromDigits(c.text, c.lowest, c.highest, c.above), c.number);
    }
}
