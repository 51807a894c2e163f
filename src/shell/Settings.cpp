#include "shell/Settings.h"

#include "link/PortError.h"
#include "package/CheckListFile.h"
#include "shell/Numbers.h"
#include "shell/PortMessages.h"
#include "shell/ProfileFile.h"
#include "shell/Text.h"
#include "shell/WindowOps.h"

namespace fw {

namespace {

constexpr const char* kPortSection = "RS232Set";
constexpr const char* kPortKey = "COM";
constexpr const char* kPathSection = "PATH";
constexpr const char* kFileKey = "FILE";

// A stored port number takes effect on the closed port; only the start-up
// or the dialog's OK opens it again.
void applyStoredPort(Tool& tool, const std::string& stored)
{
    tool.view.setPortListText(plainDecimal(leadingNumber(stored)));
    if (tool.port.portOpen()) tool.port.setPortOpen(false);
    tool.port.setCommPort(roundToInt16(leadingNumber(tool.view.portListText())));
}

void applyRememberedListFile(Tool& tool, const std::string& stored)
{
    if (stored.empty()) {
        tool.view.setEnabled(Control::cmdUpgradeSW, false);
        tool.state.NoListFile = true;
        return;
    }
    tool.state.NoListFile = false;
    setCaption(tool, Caption::txtTxtSourceFilePath, strip(stored));
    CheckListFile(tool, tool.state.txtTxtSourceFilePath);
}

void restorePreviousPort(Tool& tool)
{
    tool.view.setPortListText(std::to_string(tool.state.PreviousPort));
    try {
        tool.port.setCommPort(tool.state.PreviousPort);
    } catch (const PortError&) {
        // the previous number was never usable either; the list shows it anyway
    }
}

bool operationUnderWay(const Tool& tool) { return tool.state.operationsRunning > 0; }

} // namespace

void Load_Setting(Tool& tool)
{
    const ProfileFile settings(tool.settingsPath());
    const std::string port = settings.read(kPortSection, kPortKey);
    if (!port.empty()) applyStoredPort(tool, port);
    applyRememberedListFile(tool, settings.read(kPathSection, kFileKey));
}

void Save_Setting(Tool& tool)
{
    ProfileFile(tool.settingsPath()).write(kPortSection, kPortKey, tool.view.portListText());
}

void RS_232_Click(Tool& tool)
{
    if (operationUnderWay(tool)) return;  // the port belongs to the operation until it ends
    tool.view.showPortDialog();
    try {
        Load_Setting(tool);
    } catch (const PortError& e) {
        // A hand-edited port number the serial layer rejects: say so, as at start-up.
        reportPortSetupFailure(tool, e.code());
        disableWorkButtons(tool);
    } catch (const NumberError&) {
        disableWorkButtons(tool);
    }
}

void RS232_Click(Tool& tool)
{
    // A dialog left open must not take the port from a transfer or the ISP tool.
    if (operationUnderWay(tool)) return;
    try {
        if (tool.port.portOpen()) tool.port.setPortOpen(false);
        tool.state.PreviousPort = tool.port.commPort();
        tool.port.setCommPort(toInt16(tool.view.portListText()));
        tool.port.setInputMode(InputMode::Text);
        if (!tool.port.portOpen()) tool.port.setPortOpen(true);
        Save_Setting(tool);
        tool.view.hidePortDialog();
        if (tool.port.portOpen()) {
            tool.view.setEnabled(Control::cmdOpenFile1, true);
            tool.view.setEnabled(Control::cmdTest, true);
        } else {
            disableWorkButtons(tool);
        }
    } catch (const PortError& e) {
        if (reportPortSetupFailure(tool, e.code())) restorePreviousPort(tool);
        disableWorkButtons(tool);
    } catch (const NumberError&) {
        disableWorkButtons(tool);
    }
}

} // namespace fw
