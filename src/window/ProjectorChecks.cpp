#include "window/ProjectorChecks.h"

#include "ground/Texts.h"
#include "package/CheckListFile.h"
#include "window/PortMessages.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

void setUpgradeEnabled(Tool& tool, bool enabled) { tool.view.setEnabled(Control::cmdUpgradeSW, enabled); }
void setOpenFileEnabled(Tool& tool, bool enabled) { tool.view.setEnabled(Control::cmdOpenFile1, enabled); }

// A projector that did not answer: nothing to open or upgrade until the
// link works.
void refuseWork(Tool& tool, const char* message)
{
    setUpgradeEnabled(tool, false);
    setOpenFileEnabled(tool, false);
    report(tool, message, MessageStyle::Critical);
}

void keepImage(std::string& name, uint64_t& size, const std::optional<CheckedImage>& image)
{
    if (!image) return;
    name = image->name;
    size = image->size;
}

const char* packageMessage(PackageFault fault)
{
    switch (fault) {
    case PackageFault::NotValid: return texts::ListFileNotValid;
    case PackageFault::UpSizeIncorrect: return texts::UpSizeIncorrect;
    case PackageFault::ScalerSizeIncorrect: return texts::ScalerSizeIncorrect;
    case PackageFault::None:
    case PackageFault::FileNotFound:
    case PackageFault::PathNotFound:
    case PackageFault::Unusable: break;
    }
    return nullptr;
}

void refusePackage(Tool& tool, PackageFault fault)
{
    if (const char* message = packageMessage(fault)) {
        // a wrong package: Upgrade SW goes off before the box
        setUpgradeEnabled(tool, false);
        report(tool, message, MessageStyle::Critical);
    } else {
        // a missing file is named first; an unusable one silently
        if (fault == PackageFault::FileNotFound || fault == PackageFault::PathNotFound) {
            const char* what = fault == PackageFault::FileNotFound ? texts::FileNotFound : texts::PathNotFound;
            report(tool, std::string(what) + texts::FindTheImages, MessageStyle::Critical);
        }
        setUpgradeEnabled(tool, false);
    }
    tool.state.ListFileValid = false;
}

} // namespace

LinkCheck linkAnswers(Tool& tool)
{
    const LinkCheck check = TestLink(tool.link);
    reportPortFailure(tool, check.portFailure);
    switch (check.answer) {
    case LinkAnswer::Nop: setOpenFileEnabled(tool, true); break;
    case LinkAnswer::Other:
    case LinkAnswer::None: refuseWork(tool, texts::LinkFailed); break;
    case LinkAnswer::PortFailed: break;
    }
    return check;
}

bool modelAllowsUpgrade(Tool& tool)
{
    const ModelCheck check = CheckModel(tool.link, tool.state.package.UpImagePath, !tool.state.NoListFile);
    reportPortFailure(tool, check.portFailure);
    switch (check.match) {
    case ModelMatch::Matches:
        setUpgradeEnabled(tool, true);
        setOpenFileEnabled(tool, true);
        return true;
    case ModelMatch::Mismatch:
        setUpgradeEnabled(tool, false);
        report(tool, texts::ModelMismatch, MessageStyle::Critical);
        setOpenFileEnabled(tool, true);
        return false;
    case ModelMatch::NoPackage: setOpenFileEnabled(tool, true); return false;
    case ModelMatch::NotAnswered: refuseWork(tool, texts::LinkFailed); return false;
    case ModelMatch::PortFailed: return false;
    }
    return false;
}

void checkPackage(Tool& tool, const std::string& listFilePath)
{
    tool.state.ListFileValid = true;
    const PackageCheck check = CheckListFile(listFilePath, tool.workingDirectory);
    FirmwarePackage& package = tool.state.package;
    keepImage(package.UpImagePath, package.UpImageSize, check.up);
    if (check.up) setCaption(tool, Caption::lblSize, std::to_string(check.up->size));
    keepImage(package.ScalerImagePath, package.ScalerImageSize, check.scaler);
    if (!check.valid()) refusePackage(tool, check.fault);
}

LinkCheck cmdTest_Click(Tool& tool)
{
    const RunningOperation running(tool);
    disableWorkButtons(tool);
    const LinkCheck check = TestLink(tool.link);
    reportPortFailure(tool, check.portFailure);
    switch (check.answer) {
    case LinkAnswer::Nop:
        tool.view.setEnabled(Control::cmdTest, true);
        checkPackage(tool, tool.state.listFilePath);
        if (tool.state.ListFileValid && !modelAllowsUpgrade(tool)) setUpgradeEnabled(tool, false);
        setOpenFileEnabled(tool, true);
        report(tool, texts::TestOk, MessageStyle::Information);
        break;
    case LinkAnswer::Other:
    case LinkAnswer::None:
        disableWorkButtons(tool);
        report(tool, check.answer == LinkAnswer::None ? texts::LinkFailed : texts::TestFailed,
               MessageStyle::Critical);
        break;
    case LinkAnswer::PortFailed: break;  // the buttons stay off
    }
    return check;
}

} // namespace fw
