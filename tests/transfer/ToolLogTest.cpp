#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "transfer/ToolLog.h"

using namespace fw;
using namespace fw::sim;

namespace {

const std::string kSuccess = "Command: 0503 0000 fafd";

std::string label5AfterReading(const std::string& logText)
{
    TempFolder folder;
    fw::testing::writeFile(ispLogPath(folder.str()), logText);
    return lastLogLine(ispLogPath(folder.str()));
}

} // namespace

TEST(ToolLog, SuccessLineCountsWhateverLineEndFollowsIt)
{
    for (const char* end : {"", "\r\n", "\r", "\n", " ", " \r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(end)));
        EXPECT_EQ(label5AfterReading("Erase ok\r\nProgram ok\r\n" + kSuccess + end), kSuccess);
    }
}

TEST(ToolLog, BlanksAroundTheLastLineAreIgnoredButNothingElse)
{
    EXPECT_EQ(label5AfterReading("start\r\n " + kSuccess), kSuccess);
    EXPECT_EQ(label5AfterReading("start\r\n\t" + kSuccess), "\t" + kSuccess);
    EXPECT_EQ(label5AfterReading("start\r\ncommand: 0503 0000 fafd"), "command: 0503 0000 fafd");
}

TEST(ToolLog, OnlyTheLastLineIsJudged)
{
    EXPECT_EQ(label5AfterReading(kSuccess + "\r\nError: verify failed"), "Error: verify failed");
    EXPECT_EQ(label5AfterReading(kSuccess + "\r\n\r\n"), "");
    EXPECT_EQ(label5AfterReading("x" + kSuccess), "x" + kSuccess);
}

TEST(ToolLog, SuccessLineAloneOrAtTheEndOfALongLogCounts)
{
    EXPECT_EQ(label5AfterReading(kSuccess), kSuccess);
    std::string longLog;
    for (int i = 0; i < 2000; ++i) longLog += "Program block " + std::to_string(i) + "\r\n";
    EXPECT_EQ(label5AfterReading(longLog + kSuccess + "\r\n"), kSuccess);
}

TEST(ToolLog, MissingOrEmptyLogGivesNoLine)
{
    TempFolder folder;
    EXPECT_EQ(lastLogLine(ispLogPath(folder.str())), "");
    EXPECT_EQ(label5AfterReading(""), "");
}
