#include "window/Upgrade.h"

#include <optional>
#include <string>

#include "ground/EventLoop.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
#include "package/PackageFiles.h"
#include "transfer/DownloadProtocol.h"
#include "window/PortMessages.h"
#include "window/ProjectorChecks.h"
#include "window/ScalerPhase.h"
#include "window/Telling.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

constexpr int32_t kAfterVerdictPauseMs = 500;

// Where the download stopped, and what the technician is told: none when
// the failure has been shown already.
struct Stop {
    std::string message;  // empty: shown already
    Reason reason;
};

void setExitEnabled(Tool& tool, bool enabled) { tool.view.setEnabled(Control::pExit, enabled); }

void setPointerBusy(Tool& tool, bool busy) { tool.view.setBusyPointer(busy); }

// Upgrade SW, Open File and the test button off, the RS232 menu on: the
// technician picks a port (or tests the link) before trying again.
void leaveOnlyPortChoice(Tool& tool)
{
    Enable_object(tool);
    disableWorkButtons(tool);
}

void endUpgrade(Tool& tool) { setExitEnabled(tool, true); }

// The window is given back, the projector is told the download is over
// (CR LF), and the technician learns why it stopped.
void abortUpgrade(Tool& tool, const Stop& stop)
{
    setPointerBusy(tool, false);
    Enable_object(tool);
    tool.state.DownloadBusy = false;
    endLoaderDialogue(tool.link);
    if (!stop.message.empty()) reportEnding(tool, stop.reason, stop.message, MessageStyle::Critical);
    endUpgrade(tool);
}

// Port failures while the port is reopened.
void handlePortError(Tool& tool, const PortError& failure)
{
    tool.state.statusLine.clear();
    tool.state.DownloadBusy = false;
    reportEnding(tool, Reason::PortNotOpened, reopenFailureMessage(tool, failure), MessageStyle::Critical);
    setPointerBusy(tool, false);
    leaveOnlyPortChoice(tool);
    endUpgrade(tool);
}

bool confirmed(Tool& tool)
{
    return showMessage(tool, texts::UpgradeConfirmation, MessageStyle::Question) == Answer::Yes;
}

void showBusyWindow(Tool& tool)
{
    setPointerBusy(tool, true);
    tool.state.statusLine = texts::Downloading;
    Disable_object(tool);
    tool.view.setProgressValue(0);
}

// A fresh session on the port; a port some other program already holds
// open is tried as it is, and the link test then tells.
std::optional<PortError> reopenPort(Tool& tool)
{
    tool.port.setPortOpen(false);
    try {
        tool.port.setPortOpen(true);
    } catch (const PortError& e) {
        if (e.code() != kPortAlreadyOpen) return e;
    }
    return std::nullopt;
}

void linkTestFailed(Tool& tool)
{
    tool.state.statusLine.clear();
    tool.state.DownloadBusy = false;
    setPointerBusy(tool, false);
    leaveOnlyPortChoice(tool);
    endUpgrade(tool);
}

void prepareDownload(Tool& tool)
{
    Disable_object(tool);  // the link test enabled "Open File"
    setCaption(tool, Caption::lblFileCount, texts::Preparing);
    tool.view.setProgressVisible(true);
    tool.state.DownloadBusy = true;
}

// Phases A and B, up to the switch to binary input. Failures here leave the
// loader waiting, so they end as an abort.
std::optional<Stop> bringLoaderToData(Tool& tool, uint64_t bytes)
{
    ToldPhase phase(tool, Phase::DownloadMode);
    const DownloadModeEntry entry = enterDownloadMode(tool.link);
    switch (entry.mode) {
    case DownloadMode::Entered: break;
    case DownloadMode::NoQuestion:
        phase.end(PhaseOutcome::NoAnswer);
        return Stop{texts::LinkFailed, Reason::LoaderNoAnswer};
    case DownloadMode::PortFailed:
        phase.end(PhaseOutcome::PortFailed);
        endOperationAtNextBox(tool, Reason::PortFailed);
        reportPortFailure(tool, entry.portFailure);
        return Stop{{}, Reason::PortFailed};
    }
    if (!announceLength(tool.link, bytes)) {
        phase.end(PhaseOutcome::NoAnswer);
        return Stop{texts::UpFailed, Reason::LoaderNoAnswer};
    }
    beginImageTransfer(tool.link);
    phase.end(PhaseOutcome::Ok);
    return std::nullopt;
}

float percentOf(uint64_t part, uint64_t whole)
{
    return whole == 0 ? 100.0f : static_cast<float>(part) / static_cast<float>(whole) * 100.0f;
}

std::optional<Stop> transferImage(Tool& tool, uint64_t bytes)
{
    setCaption(tool, Caption::lblFileCount, texts::FileOneOfTwo);
    ToldPhase phase(tool, Phase::ImageTransfer);
    // The same file the package check measured, wherever the program now runs.
    const std::string image = resolveName(tool.workingDirectory, tool.state.package.UpImagePath);
    const auto showProgress = [&tool](uint64_t sent, uint64_t total) {
        tool.view.setProgressValue(percentOf(sent, total));
        tell(tool, ImageProgress{sent, total});
    };
    switch (sendImage(tool.link, image, bytes, showProgress)) {
    case ImageSending::Sent: phase.end(PhaseOutcome::Ok); return std::nullopt;
    case ImageSending::ImageUnusable:
        phase.end(PhaseOutcome::ImageUnusable);
        return Stop{texts::UpFailed, Reason::ImageUnusable};
    case ImageSending::PortFailed: break;
    }
    phase.end(PhaseOutcome::PortFailed);
    return Stop{withPortDetail(tool, texts::UpFailed), Reason::PortFailed};
}

// Phases A to C, each stopping the download when it fails; a port failure
// outside the phases' own handling stops it as a failed uP download. Any
// other exception is a fault of the program and no failed download.
std::optional<Stop> downloadUpImage(Tool& tool, uint64_t bytes)
{
    try {
        if (auto stop = bringLoaderToData(tool, bytes)) return stop;
        return transferImage(tool, bytes);
    } catch (const PortError&) {
        return Stop{withPortDetail(tool, texts::UpFailed), Reason::PortFailed};
    }
}

// The uP phase is over, whatever the verdict: the window stops looking busy.
// The close guard stays: after a good verdict the projector is half
// upgraded until the scaler phase has run.
void finishUpPhase(Tool& tool)
{
    setPointerBusy(tool, false);
    tool.view.setProgressVisible(false);
}

// A refused or missing verdict stops here: the scaler must not be flashed
// over a uP image the loader did not take.
void verdictNotGiven(Tool& tool)
{
    reportEnding(tool, Reason::UpImageNotTaken, texts::UpFailed, MessageStyle::Critical);
    finishUpPhase(tool);
    tool.state.DownloadBusy = false;
    Enable_object(tool);
    endUpgrade(tool);
}

PhaseOutcome outcomeOf(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Success: return PhaseOutcome::Ok;
    case Verdict::Failure: return PhaseOutcome::NoAnswer;
    case Verdict::Undecided: break;
    }
    return PhaseOutcome::WrongAnswer;
}

Verdict awaitVerdict(Tool& tool)
{
    ToldPhase phase(tool, Phase::Verdict);
    const Verdict verdict = readVerdict(tool.link);
    phase.end(outcomeOf(verdict));
    return verdict;
}

bool projectorRestarted(Tool& tool)
{
    ToldPhase phase(tool, Phase::Restart);
    const bool restarted = awaitRestart(tool.link);
    phase.end(restarted ? PhaseOutcome::Ok : PhaseOutcome::NoAnswer);
    return restarted;
}

struct Ending {
    UpgradeOutcome outcome;
    Reason reason;
};

Ending runUpgrade(Tool& tool, uint64_t bytes)
{
    if (const std::optional<PortError> failure = reopenPort(tool)) {
        handlePortError(tool, *failure);
        return {UpgradeOutcome::LinkFailed, Reason::PortNotOpened};
    }
    if (const LinkCheck link = linkAnswers(tool); !link.ok()) {
        linkTestFailed(tool);
        return {UpgradeOutcome::LinkFailed, reasonOf(link)};
    }
    prepareDownload(tool);
    if (const auto stop = downloadUpImage(tool, bytes)) {
        abortUpgrade(tool, *stop);
        return {UpgradeOutcome::UpFailed, stop->reason};
    }
    if (awaitVerdict(tool) != Verdict::Success) {
        verdictNotGiven(tool);
        return {UpgradeOutcome::UpFailed, Reason::UpImageNotTaken};
    }
    tool.state.statusLine = texts::UpVerdictOk;
    finishUpPhase(tool);
    tool.view.beep();
    delay(tool.loop, kAfterVerdictPauseMs);
    if (!projectorRestarted(tool)) {
        // The uP image is in; the projector never came back to take the scaler's.
        abortUpgrade(tool, {texts::LinkFailed, Reason::NoRestart});
        return {UpgradeOutcome::ScalerFailed, Reason::NoRestart};
    }
    const Reason scaler = cmdFlashSW2_Click(tool);
    endUpgrade(tool);
    return {scaler == Reason::None ? UpgradeOutcome::Complete : UpgradeOutcome::ScalerFailed, scaler};
}

Ending startUpgrade(Tool& tool)
{
    if (!tool.state.ListFileValid) {
        reportEnding(tool, Reason::PackageNotValid, texts::ListFileNotValid, MessageStyle::Critical);
        return {UpgradeOutcome::NotReady, Reason::PackageNotValid};
    }
    setExitEnabled(tool, false);
    if (!confirmed(tool)) {
        endUpgrade(tool);
        return {UpgradeOutcome::Declined, Reason::Declined};
    }
    showBusyWindow(tool);
    if (!tool.port.portOpen()) {
        abortUpgrade(tool, {texts::LinkFailed, Reason::PortNotOpened});
        return {UpgradeOutcome::LinkFailed, Reason::PortNotOpened};
    }
    return runUpgrade(tool, tool.state.package.UpImageSize);
}

} // namespace

UpgradeOutcome cmdUpgradeSW_Click(Tool& tool)
{
    const RunningOperation running(tool);
    ToldOperation told(tool, Operation::Upgrade);
    const Ending ending = startUpgrade(tool);
    told.end(ending.reason);
    return ending.outcome;
}

} // namespace fw
