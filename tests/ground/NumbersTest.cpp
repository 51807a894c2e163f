// Numbers as settings.ini, command lines, the wire and messages hold them:
// the same under every locale (this file runs once more under a German one,
// whose C library reads "1.6" as 1 and writes 2.5 as "2,5").

#include <gtest/gtest.h>

#include <limits>

#include "ground/NetworkAddress.h"
#include "ground/Numbers.h"

using namespace fw;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint64_t kAllBits = std::numeric_limits<uint64_t>::max();
constexpr auto kCapped = AboveRange::Highest;

} // namespace

// The number a stored port value begins with.
TEST(LeadingNumber, ReadsTheNumberTheTextBeginsWith)
{
    const std::pair<const char*, double> cases[] = {
        {"1.6", 1.6}, {"07", 7},   {"COM5", 0},     {"12abc", 12},    {" 1 . 6 ", 1.6}, {"-2.5", -2.5},
        {"+3", 3},    {".5", 0.5}, {"5.", 5},       {"1,6", 1},       {"1e3", 1000},    {"1D2", 100},
        {"2E", 2},    {"3e+", 3},  {"", 0},         {"-", 0},         {"1e400", kInfinity},
        {"-1e400", -kInfinity},    {"1e-400", 0},   {"0.00001e-320", 0},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(leadingNumber(text), number) << text;
}

// The dialog's list text as a port number: halves to even, anything else refused.
TEST(ToInt16, RoundsHalvesToEvenAndRefusesWhatIsNoNumber)
{
    const std::pair<const char*, int16_t> numbers[] = {{"1.6", 2},  {" 2.5 ", 2},     {"3.5", 4},      {"-0.5", 0},
                                                       {"1e4", 10000}, {"32767", 32767}, {"-32768.4", -32768}};
    for (const auto& [text, number] : numbers) EXPECT_EQ(toInt16(text), number) << text;
    for (const char* text : {"32767.5", "40000", "abc", "1.6x", "1,6", "", "1e400"})
        EXPECT_THROW(toInt16(text), NumberError) << text;
}

// What the dialog's list shows of a stored number, and settings.ini gets back.
TEST(PlainDecimal, WritesWholeNumbersWithoutAPointAndTheRestToFifteenDigits)
{
    const std::pair<double, const char*> cases[] = {
        {7, "7"},         {-3, "-3"},     {2.5, "2.5"},     {1.6, "1.6"}, {0.1 + 0.2, "0.3"},  {-0.0, "0"},
        {1e-5, "1e-05"},  {1e15, "1e+15"}, {123456789012345, "123456789012345"}, {1.0 / 3, "0.333333333333333"},
        {kInfinity, "inf"},
    };
    for (const auto& [number, text] : cases) EXPECT_EQ(plainDecimal(number), text);
}

// The progress line's percentage and the transcript's time stamps.
TEST(FixedDecimal, WritesTheGivenPlacesPaddedOnTheLeft)
{
    EXPECT_EQ(fixedDecimal(7.5, 1, 5), "  7.5");
    EXPECT_EQ(fixedDecimal(99.96, 1, 5), "100.0");
    EXPECT_EQ(fixedDecimal(0.066, 3, 10), "     0.066");
    EXPECT_EQ(fixedDecimal(12345678.9, 3, 10), "12345678.900");  // wider than asked, never cut
    EXPECT_EQ(fixedDecimal(-1.25, 1), "-1.2");
    EXPECT_EQ(fixedDecimal(1e20, 1), "100000000000000000000.0");
}

// Digits only, then a number in range: a TCP port, a command line's port
// number or count, the ISP tool's time limit, an adapter's latency timer.
TEST(NumberFromDigits, TakesDigitsOnlyWithinTheRange)
{
    const std::pair<const char*, std::optional<uint64_t>> from1To255[] = {
        {"7", 7},   {"007", 7},  {"255", 255},  {"256", {}}, {"0", {}},   {"", {}},
        {"+5", {}}, {"-5", {}},  {" 5", {}},    {"5 ", {}},  {"1.6", {}}, {"0x10", {}},
    };
    for (const auto& [text, number] : from1To255) EXPECT_EQ(numberFromDigits(text, 1, 255), number) << text;
    EXPECT_EQ(numberFromDigits("0", 0, 255), 0u);
    EXPECT_EQ(numberFromDigits("18446744073709551615", 0, kAllBits), kAllBits);
    EXPECT_EQ(numberFromDigits("18446744073709551616", 0, kAllBits), std::nullopt);
    EXPECT_EQ(numberFromDigits("700000", 1, 604800, kCapped), 604800u);
    EXPECT_EQ(numberFromDigits("99999999999999999999999", 1, 604800, kCapped), 604800u);
    EXPECT_EQ(numberFromDigits("0", 1, 604800, kCapped), std::nullopt);
    EXPECT_EQ(numberFromDigits("12x", 1, 604800, kCapped), std::nullopt);
}

// A serial server's name: its host and a TCP port from 1 to 65535 in digits alone.
TEST(NetworkAddress, HostAndADigitsOnlyPortInRange)
{
    const std::pair<const char*, const char*> valid[] = {{"rfc2217://server:4001", "server:4001"},
                                                         {"socket://10.0.0.7:65535", "10.0.0.7:65535"},
                                                         {"rfc2217://[::1]:4001", "[::1]:4001"},
                                                         {"rfc2217://server:080", "server:80"}};
    for (const auto& [name, hostAndPort] : valid) {
        const auto address = parseNetworkAddress(name);
        ASSERT_TRUE(address) << name;
        EXPECT_EQ(address->hostAndPort(), hostAndPort);
    }
    for (const char* name : {"rfc2217://server:0", "rfc2217://server:65536", "rfc2217://server:99999999999",
                             "rfc2217://server:+80", "rfc2217://server:-80", "rfc2217://server: 80",
                             "rfc2217://server:", "rfc2217://:4001", "rfc2217://::1:4001", "telnet://server:23"})
        EXPECT_FALSE(parseNetworkAddress(name)) << name;
}
