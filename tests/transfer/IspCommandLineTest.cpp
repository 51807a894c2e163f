#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"
#include "ground/FileHelpers.h"
#include "transfer/IspCommandLine.h"

using namespace fw;

TEST(IspCommandLine, WindowsTakesTheOptionsAsOneTextWithSingleBlanks)
{
    EXPECT_EQ(ispParameterText(3, "C:\\FW\\SCALER.BIN"), "-c 3 -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p C:\\FW\\SCALER.BIN");
    EXPECT_EQ(ispParameterText(12, "x").substr(0, 9), "-c 12 -l ");
}

TEST(IspCommandLine, ElsewhereEachItemIsItsOwnArgumentSoBlanksInPathsSurvive)
{
    EXPECT_EQ(ispArgumentList(12, "/media/fw disk/scaler.bin"),
              (std::vector<std::string>{"-c", "12", "-l", "GF9450_CFI_DRIVER.BIN", "-d", "7", "-b", "115200", "-p",
                                        "/media/fw disk/scaler.bin"}));
#ifndef _WIN32
    EXPECT_EQ(ispArguments(12, "/a b"), ispArgumentList(12, "/a b"));
#else
    EXPECT_EQ(ispArguments(12, "C:\\A"), std::vector<std::string>{ispParameterText(12, "C:\\A")});
#endif
}

// The port a command line for the tool names, as the runners find it to
// relay or map it: up to three digits after -c, 0 when there is none.
TEST(IspCommandLine, PortIsTheFirstOfUpToThreeDigitsAfterDashC)
{
    EXPECT_EQ(ispPortOf({"-c", "12", "-l", "GF9450_CFI_DRIVER.BIN"}), 12);
    EXPECT_EQ(ispPortOf({"-c 7 -l GF9450_CFI_DRIVER.BIN -d 7"}), 7);  // Windows' one text
    EXPECT_EQ(ispPortOf({"-c", "x", "-c", "007"}), 7);
    EXPECT_EQ(ispPortOf({"-c", "999"}), 999);
    for (const char* value : {"0", "0001", "1x", "+5", "-5", "1.5"}) EXPECT_EQ(ispPortOf({"-c", value}), 0) << value;
    EXPECT_EQ(ispPortOf({"-l", "12"}), 0);
}

TEST(IspCommandLine, ImageIsNamedAbsolutelyOrNotAtAll)
{
    sim::TempFolder work;
    std::filesystem::create_directory(work.file("fw"));
    { std::ofstream(work.file("fw/scaler.bin")) << "image"; }
    const auto image = std::filesystem::path(work.file("fw/scaler.bin")).make_preferred();
    const std::string absolute = GetShortNameFromLongName(image.string());

    EXPECT_EQ(ispImageArgument("fw/scaler.bin", work.str()), absolute);
    EXPECT_EQ(ispImageArgument(work.file("fw/scaler.bin"), "/elsewhere"), absolute);
    EXPECT_EQ(ispImageArgument("", work.str()), "");
    EXPECT_EQ(ispImageArgument("fw", work.str()), "");  // a folder is no image
    EXPECT_EQ(ispImageArgument("fw/missing.bin", work.str()), "");
}
