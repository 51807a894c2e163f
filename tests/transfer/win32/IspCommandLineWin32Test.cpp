#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <windows.h>

#include "TempFolder.h"
#include "transfer/IspCommandLine.h"

using namespace fw;

namespace {

std::vector<std::string> splitAtBlanks(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> items;
    for (std::string item; in >> item;) items.push_back(item);
    return items;
}

} // namespace

// The ISP tool parses its own command line at blanks: a folder or file name
// with blanks must reach it in its short form, inside one text.
TEST(IspCommandLine, ImageInFoldersWithBlanksReachesTheToolAsOneShortPathInOneText)
{
    sim::TempFolder work;
    std::filesystem::create_directories(work.path() / "Firmware Packages" / "QT2416 release 1.1");
    const std::string image = work.file("Firmware Packages\\QT2416 release 1.1\\QT2416 scaler image.bin");
    { std::ofstream(image) << "image"; }
    char expected[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(image.c_str(), expected, MAX_PATH), 0u);

    for (const std::string relative : {"Firmware Packages\\QT2416 release 1.1\\QT2416 scaler image.bin",
                                       "Firmware Packages/QT2416 release 1.1/QT2416 scaler image.bin"}) {
        const std::string argument = ispImageArgument(relative, work.str());
        EXPECT_EQ(argument, expected) << relative;
        const std::vector<std::string> arguments = ispArguments(7, argument);
        ASSERT_EQ(arguments.size(), 1u);
        EXPECT_EQ(arguments[0], "-c 7 -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p " + std::string(expected));
        EXPECT_EQ(splitAtBlanks(arguments[0]).size(), 10u);
    }
    EXPECT_EQ(ispImageArgument(image, "C:\\elsewhere"), expected);
}
