#include "window/Settings.h"

#include "ground/PortError.h"
#include "ground/Numbers.h"
#include "window/PortDiscovery.h"
#include "window/PortMessages.h"
#include "window/ProjectorChecks.h"
#include "ground/Text.h"
#include "ground/Texts.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

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
    checkPackage(tool, tool.state.listFilePath);
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

void reportUnsavedPortLine(Tool& tool)
{
    report(tool,
           portName(tool.port.commPort()) + texts::PortLineNotGiven + tool.state.pickedPortDevice +
               ": " + tool.settingsPath() + texts::PortLineNotWritten,
           MessageStyle::Critical);
}

} // namespace

void Load_Setting(Tool& tool)
{
    const SettingsFile settings = tool.settings();
    const std::string port = settings.storedPort();
    if (!port.empty()) applyStoredPort(tool, port);
    applyRememberedListFile(tool, settings.listFile());
}

void Save_Setting(Tool& tool)
{
    tool.settings().storePort(tool.view.portListText());  // an unwritable settings file goes unnoticed
}

void RS_232_Click(Tool& tool)
{
    if (operationUnderWay(tool)) return;  // the port belongs to the operation until it ends
    tool.view.showPortDialog();
    try {
        Load_Setting(tool);
    } catch (const PortError& e) {
        // A hand-edited port number the serial layer rejects: say so, as at start-up.
        reportPortSetupFailure(tool, e);
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
        if (!takeTypedDevice(tool, tool.port.commPort())) {
            restorePreviousPort(tool);
            disableWorkButtons(tool);
            return;
        }
        if (!writePickedPortLine(tool, tool.port.commPort())) {
            reportUnsavedPortLine(tool);
            restorePreviousPort(tool);
            disableWorkButtons(tool);
            return;
        }
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
        if (reportPortSetupFailure(tool, e)) restorePreviousPort(tool);
        disableWorkButtons(tool);
    } catch (const NumberError&) {
        disableWorkButtons(tool);
    }
}

} // namespace fw
