#include "window/ProjectorChecks.h"

#include "ground/Texts.h"
#include "package/CheckListFile.h"
#include "package/PackageFiles.h"
#include "window/PortMessages.h"
#include "window/Telling.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

PhaseOutcome outcomeOf(LinkAnswer answer)
{
    switch (answer) {
    case LinkAnswer::Nop: return PhaseOutcome::Ok;
    case LinkAnswer::Other: return PhaseOutcome::WrongAnswer;
    case LinkAnswer::None: return PhaseOutcome::NoAnswer;
    case LinkAnswer::PortFailed: break;
    }
    return PhaseOutcome::PortFailed;
}

PhaseOutcome outcomeOf(ModelMatch match)
{
    switch (match) {
    case ModelMatch::Matches: return PhaseOutcome::Ok;
    case ModelMatch::Mismatch: return PhaseOutcome::Mismatch;
    case ModelMatch::NoPackage: return PhaseOutcome::NotJudged;
    case ModelMatch::NotAnswered: return PhaseOutcome::NoAnswer;
    case ModelMatch::PortFailed: break;
    }
    return PhaseOutcome::PortFailed;
}

LinkCheck testLink(Tool& tool)
{
    ToldPhase phase(tool, Phase::LinkTest);
    const LinkCheck check = TestLink(tool.link);
    phase.end(outcomeOf(check.answer));
    return check;
}

std::optional<ImageFile> imageFile(const Tool& tool, const std::optional<CheckedImage>& image)
{
    if (!image) return std::nullopt;
    return ImageFile{image->name, resolveName(tool.workingDirectory, image->name), image->size};
}

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
    if (packageMessage(fault)) {
        // a wrong package: Upgrade SW goes off before the box
        setUpgradeEnabled(tool, false);
        report(tool, packageRefusal(fault), MessageStyle::Critical);
    } else {
        // a missing file is named first; an unusable one silently
        if (const std::string message = packageRefusal(fault); !message.empty())
            report(tool, message, MessageStyle::Critical);
        setUpgradeEnabled(tool, false);
    }
    tool.state.ListFileValid = false;
}

} // namespace

std::string packageRefusal(PackageFault fault)
{
    if (const char* message = packageMessage(fault)) return message;
    if (fault == PackageFault::FileNotFound) return std::string(texts::FileNotFound) + texts::FindTheImages;
    if (fault == PackageFault::PathNotFound) return std::string(texts::PathNotFound) + texts::FindTheImages;
    return {};
}

Reason reasonOf(const LinkCheck& check)
{
    switch (check.answer) {
    case LinkAnswer::Nop: return Reason::None;
    case LinkAnswer::Other: return Reason::WrongAnswer;
    case LinkAnswer::None: return Reason::NoAnswer;
    case LinkAnswer::PortFailed: break;
    }
    return Reason::PortFailed;
}

LinkCheck linkAnswers(Tool& tool)
{
    const LinkCheck check = testLink(tool);
    // A link that fails ends the operation under way: its box is the last.
    if (check.answer == LinkAnswer::PortFailed) endOperationAtNextBox(tool, Reason::PortFailed);
    reportPortFailure(tool, check.portFailure);
    switch (check.answer) {
    case LinkAnswer::Nop: setOpenFileEnabled(tool, true); break;
    case LinkAnswer::Other:
    case LinkAnswer::None:
        endOperationAtNextBox(tool, reasonOf(check));
        refuseWork(tool, texts::LinkFailed);
        break;
    case LinkAnswer::PortFailed: break;
    }
    return check;
}

ModelMatch judgeModel(Tool& tool)
{
    ToldPhase phase(tool, Phase::ModelCheck);
    const ModelCheck check = CheckModel(tool.link, tool.state.package.UpImagePath, !tool.state.NoListFile);
    if (!check.reply.empty()) tell(tool, ModelReplied{check.reply, check.model, check.number});
    phase.end(outcomeOf(check.match));
    reportPortFailure(tool, check.portFailure);
    switch (check.match) {
    case ModelMatch::Matches:
        setUpgradeEnabled(tool, true);
        setOpenFileEnabled(tool, true);
        break;
    case ModelMatch::Mismatch:
        setUpgradeEnabled(tool, false);
        report(tool, texts::ModelMismatch, MessageStyle::Critical);
        setOpenFileEnabled(tool, true);
        break;
    case ModelMatch::NoPackage: setOpenFileEnabled(tool, true); break;
    case ModelMatch::NotAnswered: refuseWork(tool, texts::LinkFailed); break;
    case ModelMatch::PortFailed: break;
    }
    return check.match;
}

bool modelAllowsUpgrade(Tool& tool) { return judgeModel(tool) == ModelMatch::Matches; }

bool checkPackage(Tool& tool, const std::string& listFilePath)
{
    tool.state.ListFileValid = true;
    const PackageCheck check = CheckListFile(listFilePath, tool.workingDirectory);
    FirmwarePackage& package = tool.state.package;
    keepImage(package.UpImagePath, package.UpImageSize, check.up);
    if (check.up) setCaption(tool, Caption::lblSize, std::to_string(check.up->size));
    keepImage(package.ScalerImagePath, package.ScalerImageSize, check.scaler);
    // No list file chosen: nothing was checked, nothing to tell.
    if (!listFilePath.empty())
        tell(tool, PackageChecked{resolveName(tool.workingDirectory, listFilePath), check.valid(),
                                  imageFile(tool, check.up), imageFile(tool, check.scaler)});
    if (!check.valid()) refusePackage(tool, check.fault);
    return check.valid();
}

LinkCheck cmdTest_Click(Tool& tool)
{
    const RunningOperation running(tool);
    ToldOperation told(tool, Operation::Test);
    disableWorkButtons(tool);
    const LinkCheck check = testLink(tool);
    const Reason reason = reasonOf(check);
    // The port's box is the last one when nothing came back.
    if (check.answer == LinkAnswer::PortFailed) endOperationAtNextBox(tool, reason);
    reportPortFailure(tool, check.portFailure);
    switch (check.answer) {
    case LinkAnswer::Nop:
        tool.view.setEnabled(Control::cmdTest, true);
        checkPackage(tool, tool.state.listFilePath);
        if (tool.state.ListFileValid && !modelAllowsUpgrade(tool)) setUpgradeEnabled(tool, false);
        setOpenFileEnabled(tool, true);
        reportEnding(tool, reason, texts::TestOk, MessageStyle::Information);
        break;
    case LinkAnswer::Other:
    case LinkAnswer::None:
        disableWorkButtons(tool);
        reportEnding(tool, reason, check.answer == LinkAnswer::None ? texts::LinkFailed : texts::TestFailed,
                     MessageStyle::Critical);
        break;
    case LinkAnswer::PortFailed: break;  // the buttons stay off
    }
    told.end(reason);
    return check;
}

} // namespace fw
