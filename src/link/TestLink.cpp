#include "link/TestLink.h"

#include "link/CheckModel.h"
#include "link/SendCommand.h"
#include "package/CheckListFile.h"
#include "shell/Text.h"
#include "shell/WindowOps.h"

namespace fw {

namespace {

constexpr const char* kLinkCommand = "ky nop";
constexpr const char* kLinkAnswer = "NOP";  // exact case: "nop" does not count
constexpr const char* kTestOk = "Test OK!";
constexpr const char* kTestFailed = "Test failed!";

bool answered(const Reply& reply) { return contains(reply.text, kLinkAnswer); }

} // namespace

bool TestLink(Tool& tool)
{
    const Reply reply = exchange(tool, kLinkCommand);
    if (reply.text.empty() && !reply.sent) return false;  // SendCommand has reported it
    if (answered(reply)) {
        tool.view.setEnabled(Control::cmdOpenFile1, true);
        return true;
    }
    tool.view.setEnabled(Control::cmdUpgradeSW, false);
    tool.view.setEnabled(Control::cmdOpenFile1, false);
    report(tool, kLinkFailed, MessageStyle::Critical);
    return false;
}

void cmdTest_Click(Tool& tool)
{
    const RunningOperation running(tool);
    disableWorkButtons(tool);
    const Reply reply = exchange(tool, kLinkCommand);
    if (reply.text.empty() && !reply.sent) return;  // reported by SendCommand; the buttons stay off
    if (answered(reply)) {
        tool.view.setEnabled(Control::cmdTest, true);
        CheckListFile(tool, tool.state.txtTxtSourceFilePath);
        if (tool.state.ListFileValid && !CheckModel(tool)) tool.view.setEnabled(Control::cmdUpgradeSW, false);
        tool.view.setEnabled(Control::cmdOpenFile1, true);
        report(tool, kTestOk, MessageStyle::Information);
        return;
    }
    disableWorkButtons(tool);
    report(tool, reply.text.empty() ? kLinkFailed : kTestFailed, MessageStyle::Critical);
}

} // namespace fw
