#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "transfer/ToolLog.h"

using namespace fw;
using namespace fw::sim;

// The line the ISP tool's verdict is read from: the log's last line, whatever
// line end follows it, with only spaces stripped.
TEST(ToolLog, LastLineOfTheLog)
{
    const std::string kSuccess = kIspSuccessLine;
    std::string longLog;
    for (int i = 0; i < 2000; ++i) longLog += "Program block " + std::to_string(i) + "\r\n";
    struct Case {
        std::string log, line;
    } cases[] = {
        {"Erase ok\r\nProgram ok\r\n" + kSuccess, kSuccess},
        {"Erase ok\r\n" + kSuccess + "\r\n", kSuccess},
        {"Erase ok\r\n" + kSuccess + "\r", kSuccess},
        {"Erase ok\n" + kSuccess + "\n", kSuccess},
        {"start\r\n " + kSuccess + " \r\n", kSuccess},
        {"start\r\n\t" + kSuccess, "\t" + kSuccess},
        {"start\r\ncommand: 0503 0000 fafd", "command: 0503 0000 fafd"},
        {kSuccess + "\r\nError: verify failed", "Error: verify failed"},
        {kSuccess + "\r\n\r\n", ""},
        {"x" + kSuccess, "x" + kSuccess},
        {kSuccess, kSuccess},
        {longLog + kSuccess + "\r\n", kSuccess},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.log.substr(0, 40)));
        TempFolder folder;
        fw::testing::writeFile(ispLogPath(folder.str()), c.log);
        EXPECT_EQ(lastLogLine(ispLogPath(folder.str())), c.line);
    }
    TempFolder empty;
    EXPECT_EQ(lastLogLine(ispLogPath(empty.str())), "");  // no log at all
}
