#include "window/WindowOps.h"

#include "window/Telling.h"

namespace fw {

Answer report(Tool& tool, const std::string& message, MessageStyle style)
{
    tool.state.statusLine = message;
    return showStatusLine(tool, style);
}

Answer reportEnding(Tool& tool, Reason reason, const std::string& message, MessageStyle style)
{
    endOperationAtNextBox(tool, reason);
    return report(tool, message, style);
}

Answer showStatusLine(Tool& tool, MessageStyle style) { return showMessage(tool, tool.state.statusLine, style); }

void setCaption(Tool& tool, Caption caption, const std::string& text)
{
    if (caption == Caption::txtTxtSourceFilePath) tool.state.listFilePath = text;
    // The file count tells how far the upgrade has got: a status for listeners.
    if (caption == Caption::lblFileCount && !text.empty()) tell(tool, MessageShown{MessageKind::Status, text, {}});
    tool.view.setCaption(caption, text);
}

namespace {
void setWorkControls(Tool& tool, bool enabled)
{
    for (Control c : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest, Control::RS_232, Control::Text2})
        tool.view.setEnabled(c, enabled);
}
} // namespace

void Disable_object(Tool& tool) { setWorkControls(tool, false); }
void Enable_object(Tool& tool) { setWorkControls(tool, true); }

void disableWorkButtons(Tool& tool)
{
    for (Control c : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest}) tool.view.setEnabled(c, false);
}

} // namespace fw
