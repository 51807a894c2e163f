// The ISP tool as the program meets it: its command line and its log.
#include <gtest/gtest.h>

#include <fstream>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "ground/FileHelpers.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ToolLog.h"

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

// The ISP tool's verdict: the log's last line, whatever line end follows
// it, stripped of spaces only, is the success line alone or after a space
// (a time stamp or other text before it).
TEST(ToolLog, VerdictIsTheLogsLastLine)
{
    const std::string kSuccess = kIspSuccessLine;
    std::string longLog;
    for (int i = 0; i < 2000; ++i) longLog += "Program block " + std::to_string(i) + "\r\n";
    struct Case {
        std::string log, line;
        bool success;
    } cases[] = {
        {"Erase ok\r\nProgram ok\r\n" + kSuccess, kSuccess, true},
        {"Erase ok\r\n" + kSuccess + "\r\n", kSuccess, true},
        {"Erase ok\r\n" + kSuccess + "\r", kSuccess, true},
        {"Erase ok\n" + kSuccess + "\n", kSuccess, true},
        {"start\r\n " + kSuccess + " \r\n", kSuccess, true},
        {"start\r\n12:00:01 " + kSuccess + "\r\n", "12:00:01 " + kSuccess, true},
        {"start\r\n\t" + kSuccess, "\t" + kSuccess, false},
        {"x" + kSuccess, "x" + kSuccess, false},
        {kSuccess + " done", kSuccess + " done", false},
        {"start\r\ncommand: 0503 0000 fafd", "command: 0503 0000 fafd", false},
        {kSuccess + "\r\nError: verify failed", "Error: verify failed", false},
        {kSuccess + "\r\n\r\n", "", false},
        {kSuccess, kSuccess, true},
        {longLog + kSuccess + "\r\n", kSuccess, true},
        // A last line longer than the end read: marked as cut, never the success
        // line, even where the part read begins with it.
        {std::string(5000, 'x') + kSuccess + std::string(4096 - kSuccess.size(), ' '), "..." + kSuccess, false},
        {std::string(5000, 'x') + "\r\n" + std::string(4095, 'y'), std::string(4095, 'y'), false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.log.substr(0, 40)));
        sim::TempFolder folder;
        fw::testing::writeFile(ispLogPath(folder.str()), c.log);
        const std::string line = lastLogLine(ispLogPath(folder.str()));
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(isSuccessLine(line), c.success);
    }
    sim::TempFolder empty;
    EXPECT_EQ(lastLogLine(ispLogPath(empty.str())), "");  // no log at all
}
