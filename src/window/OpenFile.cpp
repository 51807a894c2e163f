#include "window/OpenFile.h"

#include "ground/ProfileFile.h"
#include "ground/Text.h"
#include "window/ProjectorChecks.h"
#include "window/WindowOps.h"

namespace fw {

namespace {
constexpr const char* kPathSection = "PATH";
constexpr const char* kFileKey = "FILE";
} // namespace

void cmdOpenFile1_Click(Tool& tool)
{
    ProfileFile settings(tool.settingsPath());
    const std::string remembered = strip(settings.read(kPathSection, kFileKey));
    const std::string chosen = tool.view.openFileDialog(remembered);

    setCaption(tool, Caption::txtTxtSourceFilePath, chosen);
    settings.write(kPathSection, kFileKey, chosen);  // an unwritable settings file goes unnoticed

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
