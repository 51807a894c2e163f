#include <gtest/gtest.h>

#include <sstream>

#include "ConsolePrinter.h"
#include "VirtualEventLoop.h"

using namespace fw;

// Off a terminal the uP image's progress is a line at every tenth, its
// percentage with a point under every locale, and the time it took and
// will take.
TEST(ConsoleProgress, PlainLinesAtEveryTenthWithTheirTimes)
{
    sim::VirtualEventLoop clock;
    std::ostringstream out;
    cli::Console console(out, false);
    cli::ConsolePrinter printer(console, "", clock, true);
    constexpr uint64_t kImage = 262144;
    for (uint64_t sent = 1024; sent <= kImage; sent += 1024) {
        printer.tell(ImageProgress{sent, kImage});
        clock.advanceTo(clock.now() + sim::ms(266));  // 1024 bytes on a 38400 bit/s line
    }
    console.flush();
    std::istringstream lines(out.str());
    std::vector<std::string> shown;
    for (std::string line; std::getline(lines, line);) shown.push_back(line);
    ASSERT_EQ(shown.size(), 11u) << out.str();
    EXPECT_EQ(shown[0], "uP image   0.4 %    1024 of 262144 bytes  elapsed 0:00  remaining 0:00");
    EXPECT_EQ(shown[1], "uP image  10.2 %   26624 of 262144 bytes  elapsed 0:07  remaining 0:59");
    EXPECT_EQ(shown[10], "uP image 100.0 %  262144 of 262144 bytes  elapsed 1:08  remaining 0:00");
}

// A line that takes the whole image within a second gets its first line and
// its last, not ten lines in as many milliseconds.
TEST(ConsoleProgress, ImageSentWithinASecondGetsItsFirstAndLastLine)
{
    sim::VirtualEventLoop clock;
    std::ostringstream out;
    cli::Console console(out, false);
    cli::ConsolePrinter printer(console, "", clock, true);
    for (uint64_t sent = 1024; sent <= 262144; sent += 1024) {
        printer.tell(ImageProgress{sent, 262144});
        clock.advanceTo(clock.now() + sim::ms(3));
    }
    console.flush();
    EXPECT_EQ(out.str(), "uP image   0.4 %    1024 of 262144 bytes  elapsed 0:00  remaining 0:00\n"
                         "uP image 100.0 %  262144 of 262144 bytes  elapsed 0:01  remaining 0:00\n");
}
