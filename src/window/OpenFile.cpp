#include "window/OpenFile.h"

#include "ground/Text.h"
#include "window/ProjectorChecks.h"
#include "window/WindowOps.h"

namespace fw {

void cmdOpenFile1_Click(Tool& tool)
{
    SettingsFile settings = tool.settings();
    const std::string remembered = strip(settings.listFile());
    const std::string chosen = tool.view.openFileDialog(remembered);

    setCaption(tool, Caption::txtTxtSourceFilePath, chosen);
    settings.storeListFile(chosen);  // an unwritable settings file goes unnoticed

    if (strip(chosen).empty()) {
        tool.view.setEnabled(Control::cmdUpgradeSW, false);
        tool.state.NoListFile = true;
        return;
    }
    tool.state.NoListFile = false;
    checkPackage(tool, chosen);
    if (tool.state.ListFileValid && !modelAllowsUpgrade(tool)) tool.view.setEnabled(Control::cmdUpgradeSW, false);
}

} // namespace fw
