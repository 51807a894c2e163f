#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "transfer/ToolLog.h"

using namespace fw;
using namespace fw::sim;

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
        TempFolder folder;
        fw::testing::writeFile(ispLogPath(folder.str()), c.log);
        const std::string line = lastLogLine(ispLogPath(folder.str()));
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(isSuccessLine(line), c.success);
    }
    TempFolder empty;
    EXPECT_EQ(lastLogLine(ispLogPath(empty.str())), "");  // no log at all
}
